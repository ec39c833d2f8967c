ardour {
	["type"]    = "dsp",
	name        = "Gain Check Probe",
	category    = "Utility",
	license     = "MIT",
	author      = "Vorn tests",
	description = [[Passes stereo audio through unchanged. On request it lets the signal settle for half a second, then takes each channel's mean square over one second and answers through shared memory.]]
}

-- Shared memory, in 32-bit slots, between this processor and the session
-- script that asks for a measurement (ardour_check.lua):
--   0  the number of the latest request (written by the session script)
--   1  the number of the request last answered (written here, last)
--   2  mean square of the left channel over the window (float)
--   3  mean square of the right channel
local kRequest, kAnswered, kLeft = 0, 1, 2

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

local settle, window = 24000, 48000
local request = 0
-- Frames into the current measurement, negative while settling.
local counted = 0
local sums = { 0, 0 }

function dsp_init (rate)
	-- A second at any rate holds a whole number of periods of the 1 kHz
	-- tone, so the mean square does not depend on where the window starts.
	settle = rate // 2
	window = rate
	self:shmem ():allocate (4)
	self:shmem ():clear ()
end

function dsp_run (ins, outs, n_samples)
	for c = 1, 2 do
		if ins[c] ~= outs[c] then
			ARDOUR.DSP.copy_vector (outs[c], ins[c], n_samples)
		end
	end

	local shmem = self:shmem ()
	local latest = shmem:atomic_get_int (kRequest)
	if latest ~= request then
		request = latest
		counted = -settle
		sums = { 0, 0 }
	end
	if request == shmem:atomic_get_int (kAnswered) then
		return
	end

	local first = math.max (1, 1 - counted)
	local last = math.min (n_samples, window - counted)
	for c = 1, 2 do
		local samples = outs[c]:array ()
		local sum = sums[c]
		for s = first, last do
			sum = sum + samples[s] * samples[s]
		end
		sums[c] = sum
	end
	counted = counted + n_samples

	if counted >= window then
		local levels = shmem:to_float (kLeft):array ()
		levels[1] = sums[1] / window
		levels[2] = sums[2] / window
		shmem:atomic_set_int (kAnswered, request)
	end
end
