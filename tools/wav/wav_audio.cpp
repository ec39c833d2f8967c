#include "tools/wav/wav_audio.h"

#include <sndfile.h>

#include <memory>

namespace vorn::tools {
namespace {

struct CloseFile {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using File = std::unique_ptr<SNDFILE, CloseFile>;

}  // namespace

bool readStereoWav(const std::string& path, StereoAudio& audio, std::string& error) {
    SF_INFO info{};
    File file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        error = sf_strerror(nullptr);
        return false;
    }
    if (info.channels != 2) {
        error = "not two channels";
        return false;
    }
    std::vector<float> frames(static_cast<size_t>(info.frames) * 2);
    const sf_count_t read = sf_readf_float(file.get(), frames.data(), info.frames);
    audio.sampleRate = info.samplerate;
    audio.left.resize(static_cast<size_t>(read));
    audio.right.resize(static_cast<size_t>(read));
    for (sf_count_t k = 0; k < read; ++k) {
        audio.left[k] = frames[2 * k];
        audio.right[k] = frames[2 * k + 1];
    }
    return true;
}

bool writeStereoWav(const std::string& path, const StereoAudio& audio, std::string& error) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(audio.sampleRate);
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    File file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        error = sf_strerror(nullptr);
        return false;
    }
    std::vector<float> frames(audio.left.size() * 2);
    for (size_t k = 0; k < audio.left.size(); ++k) {
        frames[2 * k] = audio.left[k];
        frames[2 * k + 1] = audio.right[k];
    }
    const auto count = static_cast<sf_count_t>(audio.left.size());
    if (sf_writef_float(file.get(), frames.data(), count) != count) {
        error = sf_strerror(file.get());
        return false;
    }
    return true;
}

}  // namespace vorn::tools
