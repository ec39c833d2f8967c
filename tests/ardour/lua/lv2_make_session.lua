-- Makes a session with one stereo track holding the LV2 plug-in, found by its
-- URI, between the gain check's tone and probes; sets one of its controls
-- through Ardour's Lua API, measures the 1 kHz gain and saves the session.
-- Usage: ardour7-lua lv2_make_session.lua <folder> <name> <URI> <control name> <value>
local check = dofile (os.getenv ("VORN_ARDOUR_LUA") .. "/ardour_check.lua")
local lv2 = dofile (os.getenv ("VORN_ARDOUR_LUA") .. "/lv2_controls.lua")
local folder, name, uri, control, value = arg[1], arg[2], arg[3], arg[4], tonumber (arg[5])

check.create_session (folder, name)
local plugin = ARDOUR.LuaAPI.new_plugin (Session, uri, ARDOUR.PluginType.LV2, "")
if plugin:isnil () then
	check.fail ("Ardour found no LV2 plug-in " .. uri .. " (LV2_PATH?)")
end
local track = check.add_stereo_track ()
check.insert_measured (track, plugin)
local insert, instance = check.measured_plugin (track, plugin:display_name ())
lv2.set (insert, instance, control, value)
print (string.format ("%s set to %g", control, lv2.get (insert, instance, control)))
local gain = check.measure_gain (track)
print (string.format ("gain: 1 kHz left %+.4f dB, right %+.4f dB", gain.left, gain.right))
check.save (name)
check.close ()
print ("made and saved the session " .. folder .. "/" .. name)
