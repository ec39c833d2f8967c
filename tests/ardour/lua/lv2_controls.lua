-- An LV2 plug-in's controls by the name the plug-in gives them ("Left 1 kHz"),
-- through Ardour's Lua API. Loaded with
--   local lv2 = dofile (os.getenv ("VORN_ARDOUR_LUA") .. "/lv2_controls.lua")
local lv2 = {}

-- The n-th input parameter (Ardour's numbering) whose label is `label`.
local function parameter (instance, label)
	for n = 0, instance:parameter_count () - 1 do
		local port = instance:nth_parameter (n, true)
		if instance:parameter_is_input (port) then
			local _, described = instance:get_parameter_descriptor (port, ARDOUR.ParameterDescriptor ())
			if described[2].label == label then return n, port end
		end
	end
	error ("the plug-in has no control named \"" .. label .. "\"", 0)
end

function lv2.set (insert, instance, label, value)
	local n = parameter (instance, label)
	if not ARDOUR.LuaAPI.set_processor_param (insert, n, value) then
		error ("Ardour did not set " .. label, 0)
	end
end

function lv2.get (insert, instance, label)
	local n = parameter (instance, label)
	return ARDOUR.LuaAPI.get_processor_param (insert, n, true)
end

return lv2
