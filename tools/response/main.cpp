// Prints the measured frequency response of a band setting: the gain of each
// channel at the thirty band centres and along a log-spaced sweep.
//
//   vorn_response [--rate HZ] [--preset flat|zigzag|smile]
//                 [--left V|V,V,...] [--right V|V,V,...] [--points-per-octave N]
//
// A single value sets every band of that channel; otherwise give thirty,
// band 0 first. Options apply in order, so --left after --preset overrides it.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/band_values.h"
#include "tools/common/command_line.h"
#include "tools/response/band_presets.h"
#include "tools/response/response_measure.h"

namespace {

using vorn::kBandCount;

constexpr double kSweepLowHz = 20.0;
constexpr double kSweepHighHz = 20000.0;
constexpr int kDefaultSampleRate = 48000;
constexpr int kDefaultPointsPerOctave = 12;

cxxopts::Options commandLine(const char* program) {
    cxxopts::Options options(
        program,
        "The measured frequency response of a band setting. Band values lie in 0..1 (0.5 flat);\n"
        "give one value for every band or thirty, band 0 first. Options apply in order.");
    options.custom_help(
        "[--rate HZ] [--preset flat|zigzag|smile]\n"
        "       [--left V|V,V,...] [--right V|V,V,...] [--points-per-octave N]");
    const auto text = [] { return cxxopts::value<std::string>(); };
    options.add_options()
        ("rate",
         "sample rate, 1000 to 1000000 (default " + std::to_string(kDefaultSampleRate) + ")",
         text(), "HZ")
        ("preset", "set both channels to a preset: flat, zigzag or smile", text(), "NAME")
        ("left", "set the left channel's bands", text(), "V|V,V,...")
        ("right", "set the right channel's bands", text(), "V|V,V,...")
        ("points-per-octave",
         "density of the sweep, 1 to 96 (default " + std::to_string(kDefaultPointsPerOctave) + ")",
         text(), "N");
    return options;
}

bool parseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

// Fills `values` with thirty band values from "v" or "v,v,...,v".
bool parseBandValues(const std::string& text, std::vector<float>& values, std::string& error) {
    std::vector<float> parsed;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        double value = 0.0;
        if (!parseNumber(item, value) || value < 0.0 || value > 1.0) {
            error = "band value '" + item + "' is not a number in 0..1";
            return false;
        }
        parsed.push_back(static_cast<float>(value));
    }
    if (parsed.size() == 1) {
        parsed.assign(kBandCount, parsed[0]);
    }
    if (parsed.size() != static_cast<size_t>(kBandCount)) {
        error = "expected 1 or 30 band values, got " + std::to_string(parsed.size());
        return false;
    }
    values = parsed;
    return true;
}

void printTable(const char* title, const std::vector<vorn::response::ResponsePoint>& points) {
    std::printf("# %s\n%10s %9s %9s\n", title, "freq_hz", "left_db", "right_db");
    for (const auto& point : points) {
        if (std::isnan(point.leftDb)) {
            std::printf("%10.1f %9s %9s\n", point.hz, "-", "-");
        } else {
            std::printf("%10.1f %+9.2f %+9.2f\n", point.hz, point.leftDb, point.rightDb);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    vorn::engine::BandValues program;
    double sampleRate = kDefaultSampleRate;
    int pointsPerOctave = kDefaultPointsPerOctave;

    cxxopts::Options options = commandLine(argv[0]);
    int exitCode = 0;
    const auto parsed = vorn::tools::parseCommandLine(options, argc, argv, exitCode);
    if (!parsed) return exitCode;
    for (const cxxopts::KeyValue& given : parsed->arguments()) {
        const std::string& option = given.key();
        const std::string& value = given.value();
        std::string error;
        double number = 0.0;
        std::vector<float> bands;
        if (option == "rate") {
            if (!parseNumber(value, number) || number < 1000.0 || number > 1e6) {
                error = "sample rate '" + value + "' is not a number from 1000 to 1000000";
            } else {
                sampleRate = number;
            }
        } else if (option == "points-per-octave") {
            if (!parseNumber(value, number) || number < 1 || number > 96 || number != std::floor(number)) {
                error = "points per octave '" + value + "' is not a whole number from 1 to 96";
            } else {
                pointsPerOctave = static_cast<int>(number);
            }
        } else if (option == "preset") {
            if (!vorn::response::applyPreset(value, program)) {
                error = "unknown preset '" + value + "' (flat, zigzag or smile)";
            }
        } else if (option == "left" || option == "right") {
            if (parseBandValues(value, bands, error)) {
                auto& channel = option == "left" ? program.left : program.right;
                for (int band = 0; band < kBandCount; ++band) {
                    channel[band].store(bands[band]);
                }
            }
        }
        if (!error.empty()) {
            return vorn::tools::usageError(options, error);
        }
    }

    std::printf("# measured through the equalizer engine at %.0f Hz\n", sampleRate);
    std::printf("# left : ");
    for (int band = 0; band < kBandCount; ++band) {
        std::printf("%s%.3g", band ? "," : "", program.left[band].load());
    }
    std::printf("\n# right: ");
    for (int band = 0; band < kBandCount; ++band) {
        std::printf("%s%.3g", band ? "," : "", program.right[band].load());
    }
    std::printf("\n");

    using namespace vorn::response;
    printTable("band centres", measureResponse(program, sampleRate, bandCentres()));
    char title[64];
    std::snprintf(title, sizeof title, "sweep, %d points per octave", pointsPerOctave);
    printTable(title, measureResponse(program, sampleRate, logSweep(kSweepLowHz, kSweepHighHz, pointsPerOctave)));
    return 0;
}
