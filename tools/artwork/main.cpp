// Writes the editor's two bitmaps as BMP files into a directory, for the
// resource compiler of the Windows builds and for looking at them.
//   vorn_artwork <directory>

#include <cstdio>
#include <string>

#include "resources/artwork.h"
#include "resources/bmp_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argc > 0 ? argv[0] : "vorn_artwork");
        return 2;
    }
    const std::string directory = argv[1];
    const struct {
        const char* name;
        vorn::raster::Image image;
    } files[] = {
        {"background.bmp", vorn::resources::drawBackground()},
        {"thumb.bmp", vorn::resources::drawThumb()},
    };
    for (const auto& file : files) {
        const std::string path = directory + "/" + file.name;
        if (!vorn::resources::writeBmp(path, file.image)) {
            std::fprintf(stderr, "vorn_artwork: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
