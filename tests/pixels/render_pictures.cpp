// Renders the README's pictures of the program's default frame: capsule regions, rounded
// boxes, and the overlay of every level, as PNG files in the directory given.
#include "offscreen.h"
#include "quenlow.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    startOffscreenProgram();
    struct Scene {
        const char *file;
        bool boxes, allLevels;
    };
    const Scene scenes[] = {{"default-frame.png", false, false},
                            {"box-regions.png", true, false},
                            {"all-levels.png", false, true}};
    for (const Scene &scene : scenes) {
        boxMode = scene.boxes;
        showAllLevels = scene.allLevels;
        const std::string path = std::string(argv[1]) + "/" + scene.file;
        if (!writePng(renderFrame(), path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
