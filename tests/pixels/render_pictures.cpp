// Renders the README's pictures of the program's frames: the default frame with capsule
// regions, with rounded boxes and with the overlay of every level, as PNG files in the
// directory given; and, into a second directory, the frames of the moving picture.
#include "app/app.h"
#include "offscreen.h"
#include "quenlow.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool save(const Picture &frame, const std::string &path) {
    if (!writePng(frame, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// The query point goes once round a circle about the window's centre, as a drag would move
// it, in whole pixels. The circle passes the default curve's outer side, crosses the curve
// twice and sweeps its inner side, where pieces at both ends compete. The first lap's
// longer part shows capsules, the rest rounded boxes, and the last frame leads back into
// the first.
constexpr double PATH_RADIUS = 260.0;
constexpr double START_ANGLE = PI; // on the left, just outside the curve
constexpr double CAPSULE_SHARE = 0.5;

bool renderAnimation(const std::string &directory, int frames) {
    resetScene();
    showAllLevels = false;
    for (int i = 0; i < frames; ++i) {
        const double angle = START_ANGLE + 2.0 * PI * i / frames;
        queryPoint = {std::round(PATH_RADIUS * std::cos(angle)),
                      std::round(PATH_RADIUS * std::sin(angle))};
        boxMode = i >= CAPSULE_SHARE * frames;
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%04d.png", i);
        if (!save(renderFrame(), directory + name)) {
            return false;
        }
    }
    std::printf("%s: %d frames\n", directory.c_str(), frames);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY [FRAMES_DIRECTORY FRAME_COUNT]\n",
                     argv[0]);
        return 2;
    }
    startOffscreenProgram();
    struct Still {
        const char *file;
        bool boxes, allLevels;
    };
    const Still stills[] = {{"default-frame.png", false, false},
                            {"box-regions.png", true, false},
                            {"all-levels.png", false, true}};
    for (const Still &still : stills) {
        boxMode = still.boxes;
        showAllLevels = still.allLevels;
        const std::string path = std::string(argv[1]) + "/" + still.file;
        if (!save(renderFrame(), path)) {
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    if (argc == 4) {
        const int frames = std::atoi(argv[3]);
        if (frames < 1 || !renderAnimation(argv[2], frames)) {
            return 1;
        }
    }
    return 0;
}
