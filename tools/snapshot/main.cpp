// Renders the equalizer's editor without a screen: builds an instance with
// the headless window system, opens its editor, replays mouse input and
// audio, paints, and writes the window's 700x180 pixels. Can also compare
// the render with a capture of the real editor.
//
//   vorn_snapshot [--demo] [--drag X,Y]... [--click X,Y]... [--sine]
//                 [--out FILE]... [--compare FILE [--exclude X0,Y0,X1,Y1]]
//
// Without input options the picture is the editor right after construction.
// --demo replays the main job's drags and audio; --drag and --click send a
// press-move-release or a press-release at a window position (a drag sets
// the slider under it, a click toggles a switch); --sine plays the demo
// sine for the level bars. Input is applied in the order given. --out writes
// PNG, or BMP for a name ending in .bmp. --compare reads a PNG or BMP and
// exits 1 if any pixel outside the excluded box (inclusive bounds) differs.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tools/common/command_line.h"
#include "tools/common/picture_compare.h"
#include "tools/common/picture_file.h"
#include "tools/snapshot/headless_editor.h"

namespace {

using namespace vorn::tools;

constexpr int kExitDifferent = 1;

struct Input {
    enum class Kind { demo, drag, click, sine } kind;
    int x = 0, y = 0;
};

struct Options {
    std::vector<Input> inputs;
    std::vector<std::string> outputs;
    std::string comparePath;
    std::optional<PixelBox> excluded;
};

cxxopts::Options commandLine(const char* program) {
    cxxopts::Options options(program, "The equalizer's editor rendered without a screen.");
    options.custom_help(
        "[--demo] [--drag X,Y]... [--click X,Y]... [--sine]\n"
        "       [--out FILE.png|FILE.bmp]... [--compare FILE [--exclude X0,Y0,X1,Y1]]");
    const auto text = [] { return cxxopts::value<std::string>(); };
    options.add_options()
        ("demo", "replay the main job's drags and audio")
        ("drag", "press, move and release at a window position (sets the slider there)", text(),
         "X,Y")
        ("click", "press and release at a window position (toggles a switch)", text(), "X,Y")
        ("sine", "play the demo sine through the plug-in (level bars)")
        ("out", "write the render: PNG, or BMP for a name ending in .bmp", text(), "FILE")
        ("compare", "compare the render with a PNG or BMP file; exit 1 if they differ", text(),
         "FILE")
        ("exclude", "leave this box (inclusive bounds) out of --compare", text(), "X0,Y0,X1,Y1");
    return options;
}

bool parsePoint(const std::string& text, int& x, int& y) {
    int consumed = 0;
    return std::sscanf(text.c_str(), "%d,%d%n", &x, &y, &consumed) == 2 &&
           static_cast<size_t>(consumed) == text.size() && x >= 0 && y >= 0 && x <= 0xFFFF &&
           y <= 0xFFFF;
}

// The options in the order given: input is applied in that order.
bool readOptions(const cxxopts::ParseResult& parsed, Options& options, std::string& error) {
    for (const cxxopts::KeyValue& option : parsed.arguments()) {
        const std::string& name = option.key();
        const std::string& value = option.value();
        if (name == "demo" || name == "sine") {
            if (option.as<bool>())
                options.inputs.push_back({name == "demo" ? Input::Kind::demo : Input::Kind::sine});
        } else if (name == "drag" || name == "click") {
            Input input{name == "drag" ? Input::Kind::drag : Input::Kind::click};
            if (!parsePoint(value, input.x, input.y)) {
                error = "--" + name + " wants X,Y with whole numbers 0..65535, not '" + value + "'";
                return false;
            }
            options.inputs.push_back(input);
        } else if (name == "out") {
            options.outputs.push_back(value);
        } else if (name == "compare") {
            options.comparePath = value;
        } else if (name == "exclude") {
            options.excluded = parsePixelBox(value);
            if (!options.excluded) {
                error = "--exclude wants X0,Y0,X1,Y1 with X0<=X1 and Y0<=Y1, not '" + value + "'";
                return false;
            }
        }
    }
    if (options.outputs.empty() && options.comparePath.empty()) {
        error = "nothing to do: give --out or --compare";
        return false;
    }
    if (options.excluded && options.comparePath.empty()) {
        error = "--exclude only applies to --compare";
        return false;
    }
    return true;
}

void apply(HeadlessEditor& editor, const Input& input) {
    switch (input.kind) {
    case Input::Kind::demo: editor.playDemo(); break;
    case Input::Kind::drag: editor.drag(input.x, input.y); break;
    case Input::Kind::click: editor.click(input.x, input.y); break;
    case Input::Kind::sine: editor.playSine(); break;
    }
}

std::string describe(Rgb colour) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", colour.red, colour.green, colour.blue);
    return text;
}

int compare(const Picture& render, const Options& options) {
    Picture other;
    std::string error;
    if (!readPicture(options.comparePath, other, error)) {
        std::fprintf(stderr, "cannot read %s: %s\n", options.comparePath.c_str(), error.c_str());
        return kExitUsage;
    }
    const Difference difference = comparePictures(render, other, options.excluded);
    if (!difference.sameSize) {
        std::printf("compare: %s is %dx%d, the render %dx%d\n", options.comparePath.c_str(),
                    other.width, other.height, render.width, render.height);
        return kExitDifferent;
    }
    std::string outside = "pixels";
    if (options.excluded) {
        const PixelBox& box = *options.excluded;
        outside = "pixels outside " + std::to_string(box.x0) + "," + std::to_string(box.y0) +
                  ".." + std::to_string(box.x1) + "," + std::to_string(box.y1);
    }
    std::printf("compare: %ld of %ld %s differ\n", difference.differing, difference.compared,
                outside.c_str());
    if (difference.differing == 0) return 0;
    std::printf("compare: first at (%d, %d): render %s, %s %s\n", difference.firstX,
                difference.firstY, describe(difference.firstExpected).c_str(),
                options.comparePath.c_str(), describe(difference.firstActual).c_str());
    return kExitDifferent;
}

}  // namespace

int main(int argc, char** argv) {
    cxxopts::Options commandLineOptions = commandLine(argv[0]);
    int exitCode = 0;
    const auto parsed = parseCommandLine(commandLineOptions, argc, argv, exitCode);
    if (!parsed) return exitCode;
    Options options;
    std::string error;
    if (!readOptions(*parsed, options, error)) return usageError(commandLineOptions, error);

    HeadlessEditor editor;
    if (!editor.isOpen()) {
        std::fprintf(stderr, "the editor did not open\n");
        return kExitUsage;
    }
    for (const Input& input : options.inputs) apply(editor, input);
    const Picture render = editor.render();

    for (const std::string& path : options.outputs) {
        if (!writePicture(path, render)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return kExitUsage;
        }
        std::printf("wrote %s (%dx%d)\n", path.c_str(), render.width, render.height);
    }
    return options.comparePath.empty() ? 0 : compare(render, options);
}
