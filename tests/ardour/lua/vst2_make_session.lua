-- Makes a session with one stereo track holding the Linux VST 2 module
-- between the gain check's tone and probes, and saves it.
-- Usage: ardour7-lua vst2_make_session.lua <folder> <name> <plug-in name> <module path>
local check = dofile (os.getenv ("VORN_ARDOUR_LUA") .. "/ardour_check.lua")
local folder, name, plugin_name, module = arg[1], arg[2], arg[3], arg[4]

check.create_session (folder, name)
local info = ARDOUR.LuaAPI.new_plugin_info (plugin_name, ARDOUR.PluginType.LXVST)
if info:isnil () then
	check.fail ("Ardour knows no Linux VST plug-in \"" .. plugin_name .. "\"")
end
if info.path ~= module then
	check.fail ("Ardour found \"" .. plugin_name .. "\" in " .. info.path .. ", not in " .. module)
end
local track = check.add_stereo_track ()
check.insert_measured (track, ARDOUR.LuaAPI.new_plugin (Session, plugin_name, ARDOUR.PluginType.LXVST, ""))
check.measured_plugin (track, plugin_name)
check.save (name)
check.close ()
print ("made the session " .. folder .. "/" .. name .. " with " .. plugin_name .. " from " .. info.path)
