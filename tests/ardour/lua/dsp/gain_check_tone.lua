ardour {
	["type"]    = "dsp",
	name        = "Gain Check Tone",
	category    = "Utility",
	license     = "MIT",
	author      = "Vorn tests",
	description = [[A steady 1 kHz sine, amplitude 0.5, in every channel, in place of the input: the signal the gain checks measure an effect with.]]
}

local kFrequency = 1000
local kAmplitude = 0.5

function dsp_ioconfig ()
	return { { audio_in = -1, audio_out = -1 } }
end

local rate = 48000
-- Counted modulo the rate: a second holds a whole number of periods, so the
-- phase stays exact however long the session runs.
local position = 0

function dsp_init (sample_rate)
	rate = sample_rate
end

function dsp_run (ins, outs, n_samples)
	local tone = {}
	for s = 1, n_samples do
		local n = (position + s - 1) % rate
		tone[s] = kAmplitude * math.sin (2 * math.pi * kFrequency * n / rate)
	end
	for c = 1, #outs do
		outs[c]:set_table (tone, n_samples)
	end
	position = (position + n_samples) % rate
end
