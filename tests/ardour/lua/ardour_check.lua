-- Helpers for the session scripts of the Ardour checks, run by ardour7-lua
-- (see ardour_session.sh, which starts it). A script loads them with
--   local check = dofile (os.getenv ("VORN_ARDOUR_LUA") .. "/ardour_check.lua")
-- Any failure raises an error: ardour7-lua then prints it and exits non-zero.

local check = {}

-- The rate our own host measures at, for gains to compare with its.
check.kSampleRate = 48000
check.kTrackName = "Equalized"
local kToneName = "Gain Check Tone"
local kProbeName = "Gain Check Probe"
-- A measurement takes a second and a half of audio; the engine runs in real
-- time, so this leaves room for a slow machine.
local kMeasureTimeoutSeconds = 60

function check.fail (message)
	error (message, 0)
end

local function expect (condition, message)
	if not condition then check.fail (message) end
end

-- The Dummy backend: no JACK, no sound card, the engine runs in real time.
local function use_dummy_backend ()
	expect (AudioEngine:set_backend ("None (Dummy)", "", ""), "Ardour has no Dummy backend")
end

function check.create_session (folder, name)
	use_dummy_backend ()
	expect (create_session (folder, name, check.kSampleRate), "Ardour made no session in " .. folder)
end

function check.open_session (folder, name)
	use_dummy_backend ()
	expect (load_session (folder, name), "Ardour could not open the session " .. folder .. "/" .. name)
end

-- Saves the open session under a snapshot name: <folder>/<snapshot>.ardour.
function check.save (snapshot)
	expect (Session:save_state (snapshot, false, false, false, false, false) == 0,
		"Ardour could not save the session as " .. snapshot)
end

function check.close ()
	close_session ()
end

function check.add_stereo_track ()
	local tracks = Session:new_audio_track (2, 2, nil, 1, check.kTrackName,
		ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
	expect (tracks:size () == 1, "Ardour made no stereo track")
	return tracks:front ()
end

function check.track ()
	local route = Session:route_by_name (check.kTrackName)
	expect (not route:isnil (), "the session has no track \"" .. check.kTrackName .. "\"")
	return route
end

local function lua_processor (name)
	local processor = ARDOUR.LuaAPI.new_luaproc (Session, name)
	expect (not processor:isnil (), "Ardour found no Lua DSP script \"" .. name .. "\"")
	return processor
end

-- Puts `plugin` (a processor, e.g. from ARDOUR.LuaAPI.new_plugin) first on the
-- track, between a tone and two probes: tone, probe, plugin, probe. The
-- session keeps them, so a reopened session can be measured again.
function check.insert_measured (track, plugin)
	expect (not plugin:isnil (), "no plug-in to insert")
	local chain = { lua_processor (kToneName), lua_processor (kProbeName), plugin,
		lua_processor (kProbeName) }
	for index, processor in ipairs (chain) do
		expect (track:add_processor_by_index (processor, index - 1, nil, true) == 0,
			"Ardour did not insert " .. processor:display_name ())
	end
end

-- The track's plug-in inserts in order, as { name =, processor =, plugin =, active = }.
local function plugin_inserts (track)
	local found = {}
	local index = 0
	while true do
		local processor = track:nth_plugin (index)
		if processor:isnil () then break end
		local insert = processor:to_insert ()
		found[#found + 1] = { name = processor:display_name (), processor = processor,
			plugin = insert:plugin (0), active = processor:active () }
		index = index + 1
	end
	return found
end

-- The one insert named `name` between the two probes, checked to be a loaded,
-- active plug-in (Ardour keeps a plug-in it cannot load as a stub). Returns
-- the insert (a processor, for ARDOUR.LuaAPI.set_processor_param and the
-- like) and its plug-in.
function check.measured_plugin (track, name)
	local inserts = plugin_inserts (track)
	local names = {}
	for _, entry in ipairs (inserts) do names[#names + 1] = entry.name end
	local chain = table.concat (names, ", ")
	expect (#inserts == 4 and inserts[1].name == kToneName and inserts[2].name == kProbeName
		and inserts[3].name == name and inserts[4].name == kProbeName,
		"the track holds " .. chain .. " instead of the tone, a probe, " .. name .. " and a probe")
	expect (inserts[3].active, name .. " is not active")
	return inserts[3].processor, inserts[3].plugin
end

local function probes (track)
	local found = {}
	for _, entry in ipairs (plugin_inserts (track)) do
		if entry.name == kProbeName then
			found[#found + 1] = entry.plugin:to_luaproc ():shmem ()
		end
	end
	expect (#found == 2, "the track holds " .. #found .. " probes instead of two")
	return found[1], found[2]
end

local function decibels (power_ratio)
	return 10 * math.log (power_ratio, 10)
end

-- The gain of whatever lies between the two probes, for the 1 kHz tone, per
-- channel in dB, measured on the running engine: both probes are asked at
-- once, and each answers after settling and one second of audio.
function check.measure_gain (track)
	local before, after = probes (track)
	local request = before:atomic_get_int (0) + 1
	before:atomic_set_int (0, request)
	after:atomic_set_int (0, request)
	local waited = 0
	while before:atomic_get_int (1) ~= request or after:atomic_get_int (1) ~= request do
		expect (waited < kMeasureTimeoutSeconds,
			"the probes did not answer within " .. kMeasureTimeoutSeconds .. " s: is the engine running?")
		sleep (0.1)
		waited = waited + 0.1
	end
	local input = before:to_float (2):array ()
	local output = after:to_float (2):array ()
	for c = 1, 2 do
		expect (input[c] > 0, "no tone reached the first probe")
	end
	return { left = decibels (output[1] / input[1]), right = decibels (output[2] / input[2]) }
end

return check
