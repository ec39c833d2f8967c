-- Opens a session made by lv2_make_session.lua, prints the control's value
-- as the session restored it and the 1 kHz gain measured again.
-- Usage: ardour7-lua lv2_reopen.lua <folder> <name> <URI> <plug-in name> <control name>
local check = dofile (os.getenv ("VORN_ARDOUR_LUA") .. "/ardour_check.lua")
local lv2 = dofile (os.getenv ("VORN_ARDOUR_LUA") .. "/lv2_controls.lua")
local folder, name, uri, plugin_name, control = arg[1], arg[2], arg[3], arg[4], arg[5]

check.open_session (folder, name)
local track = check.track ()
local insert, instance = check.measured_plugin (track, plugin_name)
print (string.format ("%s restored as %g", control, lv2.get (insert, instance, control)))
local gain = check.measure_gain (track)
print (string.format ("gain: 1 kHz left %+.4f dB, right %+.4f dB", gain.left, gain.right))
check.close ()
