#pragma once
// Stereo float audio in WAV files.

#include <string>
#include <vector>

namespace vorn::tools {

struct StereoAudio {
    double sampleRate = 0.0;
    std::vector<float> left;
    std::vector<float> right;
};

// False, with the reason in `error`, when the file cannot be read or written
// or (reading) does not hold two channels.
bool readStereoWav(const std::string& path, StereoAudio& audio, std::string& error);
bool writeStereoWav(const std::string& path, const StereoAudio& audio, std::string& error);

}  // namespace vorn::tools
