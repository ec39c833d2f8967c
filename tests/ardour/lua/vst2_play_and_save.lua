-- Opens a session made by vst2_make_session.lua, runs the tone through the
-- plug-in, prints the gain it measured, and saves the session again under
-- another snapshot name, so the plug-in's state is asked for anew.
-- Usage: ardour7-lua vst2_play_and_save.lua <folder> <name> <plug-in name> <snapshot>
local check = dofile (os.getenv ("VORN_ARDOUR_LUA") .. "/ardour_check.lua")
local folder, name, plugin_name, snapshot = arg[1], arg[2], arg[3], arg[4]

check.open_session (folder, name)
local track = check.track ()
check.measured_plugin (track, plugin_name)
local gain = check.measure_gain (track)
print (string.format ("gain: 1 kHz left %+.4f dB, right %+.4f dB", gain.left, gain.right))
check.save (snapshot)
check.close ()
print ("saved the session again as " .. snapshot)
