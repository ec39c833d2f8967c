// vorn_wav sine OUT.wav [--hz HZ] [--rate HZ] [--seconds S] [--amplitude A]
//   writes the same sine on both channels (32-bit float WAV);
// vorn_wav gain IN.wav OUT.wav
//   prints the gain of each channel from IN to OUT in decibels, measured as
//   the ratio of RMS over the second half (the filters have settled there):
//     left: +12.00 dB
//     right: +0.00 dB

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/command_line.h"
#include "tools/common/signal.h"
#include "tools/wav/wav_audio.h"

namespace {

using vorn::tools::StereoAudio;

int fail(const std::string& message) {
    std::fprintf(stderr, "vorn_wav: %s\n", message.c_str());
    return 1;
}

int writeSine(const std::string& path, double hz, double rate, double seconds, double amplitude) {
    StereoAudio audio;
    audio.sampleRate = rate;
    audio.left = vorn::signals::sine(hz, rate, amplitude, static_cast<size_t>(seconds * rate));
    audio.right = audio.left;
    std::string error;
    if (!vorn::tools::writeStereoWav(path, audio, error)) return fail(path + ": " + error);
    return 0;
}

double gainDb(const std::vector<float>& in, const std::vector<float>& out) {
    const size_t half = in.size() / 2;
    return vorn::signals::decibels(vorn::signals::rms(out, half) / vorn::signals::rms(in, half));
}

int measureGain(const std::string& inPath, const std::string& outPath) {
    StereoAudio in, out;
    std::string error;
    if (!vorn::tools::readStereoWav(inPath, in, error)) return fail(inPath + ": " + error);
    if (!vorn::tools::readStereoWav(outPath, out, error)) return fail(outPath + ": " + error);
    if (in.left.size() != out.left.size() || in.left.size() < 2)
        return fail("the two files differ in length or are empty");
    std::printf("left: %+.2f dB\nright: %+.2f dB\n", gainDb(in.left, out.left),
                gainDb(in.right, out.right));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    cxxopts::Options options(argv[0], "Stereo sines as WAV files, and the gain between two files.");
    options.custom_help("sine OUT.wav [options] | gain IN.wav OUT.wav");
    options.add_options()
        ("hz", "frequency of the sine (default 1000)", cxxopts::value<double>()->default_value("1000"))
        ("rate", "sample rate (default 48000)", cxxopts::value<double>()->default_value("48000"))
        ("seconds", "length (default 1)", cxxopts::value<double>()->default_value("1"))
        ("amplitude", "peak (default 0.25)", cxxopts::value<double>()->default_value("0.25"))
        ("words", "", cxxopts::value<std::vector<std::string>>());
    options.parse_positional({"words"});
    int exitCode = 0;
    const auto parsed = vorn::tools::parseCommandLine(options, argc, argv, exitCode);
    if (!parsed) return exitCode;

    const auto words = parsed->count("words") ? (*parsed)["words"].as<std::vector<std::string>>()
                                              : std::vector<std::string>{};
    if (words.size() == 2 && words[0] == "sine") {
        const double rate = (*parsed)["rate"].as<double>();
        const double seconds = (*parsed)["seconds"].as<double>();
        if (!(rate >= 1000.0 && rate <= 1e6) || !(seconds > 0.0 && seconds <= 600.0))
            return vorn::tools::usageError(options, "rate or length out of range");
        return writeSine(words[1], (*parsed)["hz"].as<double>(), rate, seconds,
                         (*parsed)["amplitude"].as<double>());
    }
    if (words.size() == 3 && words[0] == "gain") return measureGain(words[1], words[2]);
    return vorn::tools::usageError(options, "expected 'sine OUT.wav' or 'gain IN.wav OUT.wav'");
}
