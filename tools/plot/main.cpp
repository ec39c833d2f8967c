// Measures the frequency response of a program and draws it: a PNG plot of
// both channels and a table of the gain at each band centre.
//
//   vorn_plot [--demo | --preset flat|zigzag|smile] [--out FILE] [--table FILE]
//
// --demo measures the program that the main job's mouse drags leave in the
// editor (tools/common/editor_demo.h), made through the headless editor
// exactly as the editor picture is. The table always goes to standard
// output, and also to --table's file. --out writes PNG, or BMP for .bmp.

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/band_values.h"
#include "host/equalizer_effect.h"
#include "tools/common/command_line.h"
#include "tools/common/editor_demo.h"
#include "common/file_writer.h"
#include "tools/common/picture_file.h"
#include "tools/plot/response_plot.h"
#include "tools/response/band_presets.h"
#include "tools/response/response_measure.h"
#include "tools/snapshot/headless_editor.h"

namespace {

using namespace vorn;

constexpr int kSweepPointsPerOctave = 24;

cxxopts::Options commandLine(const char* program) {
    cxxopts::Options options(program, "The measured frequency response of a program, plotted.");
    options.custom_help("[--demo | --preset flat|zigzag|smile] [--out FILE] [--table FILE]");
    options.add_options()
        ("demo", "measure the program the main job's mouse drags leave in the editor")
        ("preset", "measure a preset: flat, zigzag or smile",
         cxxopts::value<std::string>()->default_value("flat"), "NAME")
        ("out", "write the plot: PNG, or BMP for a name ending in .bmp",
         cxxopts::value<std::string>(), "FILE")
        ("table", "write the table of the band centres to this file too",
         cxxopts::value<std::string>(), "FILE");
    return options;
}

std::string text(const cxxopts::ParseResult& parsed, const char* option) {
    return parsed.count(option) ? parsed[option].as<std::string>() : std::string();
}

std::string formatTable(const std::string& heading,
                        const std::vector<response::ResponsePoint>& centres) {
    std::string table = "# " + heading + "\n# band  centre_hz   left_db  right_db\n";
    char line[80];
    for (size_t band = 0; band < centres.size(); ++band) {
        const auto& point = centres[band];
        if (std::isnan(point.leftDb))
            std::snprintf(line, sizeof line, "%6zu %10.0f %9s %9s\n", band, point.hz, "-", "-");
        else
            std::snprintf(line, sizeof line, "%6zu %10.0f %+9.2f %+9.2f\n", band, point.hz,
                          point.leftDb, point.rightDb);
        table += line;
    }
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    cxxopts::Options options = commandLine(argv[0]);
    int exitCode = 0;
    const auto parsed = tools::parseCommandLine(options, argc, argv, exitCode);
    if (!parsed) return exitCode;
    const bool demo = (*parsed)["demo"].as<bool>();
    const std::string preset = (*parsed)["preset"].as<std::string>();
    const std::string outPath = text(*parsed, "out"), tablePath = text(*parsed, "table");

    // The demo program lives in an instance whose editor made it; a preset
    // in a program of its own.
    std::unique_ptr<tools::HeadlessEditor> editor;
    engine::BandValues presetProgram;
    const engine::BandValues* program = &presetProgram;
    std::string heading;
    if (demo) {
        editor = std::make_unique<tools::HeadlessEditor>();
        editor->playDemo();
        EqualizerEffect& effect = editor->effect();
        program = &effect.programs().current().bands;
        // The plot's pixel font has no quotation marks.
        heading = "program " + std::to_string(effect.getProgram() + 1) + " (" +
                  effect.programs().current().name + ") after the demo drags";
    } else {
        if (!response::applyPreset(preset, presetProgram)) {
            std::fprintf(stderr, "unknown preset '%s' (flat, zigzag or smile)\n", preset.c_str());
            return tools::kExitUsage;
        }
        heading = "preset " + preset;
    }
    const double rate = tools::demo::kSampleRate;
    heading = "Measured response: " + heading + ", " + std::to_string(int(rate)) + " Hz";

    const auto centres = response::measureResponse(*program, rate, response::bandCentres());
    const auto sweep = response::measureResponse(
        *program, rate, response::logSweep(20.0, 20000.0, kSweepPointsPerOctave));

    const std::string table = formatTable(heading, centres);
    std::fputs(table.c_str(), stdout);
    if (!tablePath.empty() && !writeFile(tablePath, table)) {
        std::fprintf(stderr, "cannot write %s\n", tablePath.c_str());
        return 1;
    }
    if (!outPath.empty()) {
        const auto picture = tools::toPicture(plot::drawResponsePlot(sweep, centres, heading));
        if (!tools::writePicture(outPath, picture)) {
            std::fprintf(stderr, "cannot write %s\n", outPath.c_str());
            return 1;
        }
        std::printf("wrote %s (%dx%d)\n", outPath.c_str(), picture.width, picture.height);
    }
    return 0;
}
