// vorn_lv2_turtle <bundle folder> <DSP library file> <UI library file>
// Writes manifest.ttl and vorn.ttl into the bundle folder.

#include <cstdio>
#include <string>

#include "common/file_writer.h"
#include "tools/lv2_turtle/turtle.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <bundle folder> <DSP library> <UI library>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bool written =
        vorn::writeFile(folder + "/manifest.ttl", vorn::tools::manifestTurtle(argv[2], argv[3])) &&
        vorn::writeFile(folder + "/vorn.ttl", vorn::tools::pluginTurtle());
    if (!written) {
        std::fprintf(stderr, "%s: cannot write the Turtle files into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
