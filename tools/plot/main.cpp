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

#include "engine/program.h"
#include "host/equalizer_effect.h"
#include "tools/common/editor_demo.h"
#include "tools/common/picture_file.h"
#include "tools/plot/response_plot.h"
#include "tools/response/band_presets.h"
#include "tools/response/response_measure.h"
#include "tools/snapshot/headless_editor.h"

namespace {

using namespace vorn;

constexpr int kSweepPointsPerOctave = 24;

void printUsage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--demo | --preset flat|zigzag|smile] [--out FILE] [--table FILE]\n",
                 program);
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
    bool demo = false;
    std::string preset = "flat", outPath, tablePath;
    for (int k = 1; k < argc; ++k) {
        const std::string option = argv[k];
        const bool hasValue = k + 1 < argc;
        if (option == "--demo") {
            demo = true;
        } else if (option == "--preset" && hasValue) {
            preset = argv[++k];
        } else if (option == "--out" && hasValue) {
            outPath = argv[++k];
        } else if (option == "--table" && hasValue) {
            tablePath = argv[++k];
        } else {
            std::fprintf(stderr, "unknown option or missing value: %s\n", option.c_str());
            printUsage(argv[0]);
            return 2;
        }
    }

    // The demo program lives in an instance whose editor made it; a preset
    // in a program of its own.
    std::unique_ptr<tools::HeadlessEditor> editor;
    Program presetProgram;
    const Program* program = &presetProgram;
    std::string heading;
    if (demo) {
        editor = std::make_unique<tools::HeadlessEditor>();
        editor->playDemo();
        program = &editor->effect().currentProgramRecord();
        // The plot's pixel font has no quotation marks.
        heading = "program " + std::to_string(editor->effect().currentProgram.load() + 1) + " (" +
                  program->name + ") after the demo drags";
    } else {
        if (!response::applyPreset(preset, presetProgram)) {
            std::fprintf(stderr, "unknown preset '%s' (flat, zigzag or smile)\n", preset.c_str());
            return 2;
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
    if (!tablePath.empty()) {
        std::FILE* file = std::fopen(tablePath.c_str(), "w");
        const bool written = file && std::fputs(table.c_str(), file) >= 0;
        if (file && std::fclose(file) != 0) std::fprintf(stderr, "cannot close %s\n", tablePath.c_str());
        if (!written) {
            std::fprintf(stderr, "cannot write %s\n", tablePath.c_str());
            return 1;
        }
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
