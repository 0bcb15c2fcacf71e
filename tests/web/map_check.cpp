// The browser checks' native side of the map: the values of chosen spots, and the time the
// whole map of a quantity takes natively, built as the page's worker is (the same search,
// drawing nowhere), as JSON. With "methods" first: the other methods' answers for a scene.
#include "curve/other_methods.h"
#include "curve/true_nearest.h"
#include "web/map/spots.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

// methods N P0x P0y P1x P1y P2x P2y P3x P3y Qx Qy
int printMethods(char **argv) {
    Point controls[4];
    for (int k = 0; k < 4; ++k) {
        controls[k] = {std::stod(argv[3 + 2 * k]), std::stod(argv[4 + 2 * k])};
    }
    const Point q = {std::stod(argv[11]), std::stod(argv[12])};
    const int samples = std::stoi(argv[2]);
    const MethodAnswer coarse = coarseNearest(controls, q, samples);
    const NewtonAnswer newton = newtonNearest(controls, q, samples);
    const CurvePoint truth = trueNearest(controls, q);
    std::printf("{\"coarse\": [%.17g, %.17g, %d], \"newton\": [%.17g, %.17g, %d, %.17g], "
                "\"true\": [%.17g, %.17g]}\n",
                coarse.t, coarse.distance, coarse.evaluated, newton.answer.t,
                newton.answer.distance, newton.answer.evaluated, newton.startT, truth.t,
                truth.distance);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 13 && std::string(argv[1]) == "methods") {
        return printMethods(argv);
    }
    if (argc < 11) {
        std::fprintf(stderr, "usage: %s QUANTITY BOXES P0x P0y ... P3x P3y [I,J ...]\n", argv[0]);
        return 2;
    }
    const auto quantity = static_cast<MapQuantity>(std::stoi(argv[1]));
    Point controls[4];
    for (int k = 0; k < 4; ++k) {
        controls[k] = {std::stod(argv[3 + 2 * k]), std::stod(argv[4 + 2 * k])};
    }
    prepareMap(controls, std::stoi(argv[2]) != 0);

    const auto started = std::chrono::steady_clock::now();
    for (int j = 0; j < MAP_SPOTS; ++j) {
        for (int i = 0; i < MAP_SPOTS; ++i) {
            mapValue(quantity, mapSpot(i, j)); // each leaves the record, as a frame does
        }
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;

    std::printf("{\"seconds\": %.4f, \"values\": [", seconds.count());
    for (int a = 11; a < argc; ++a) {
        int i = 0, j = 0;
        if (std::sscanf(argv[a], "%d,%d", &i, &j) != 2) {
            return 2;
        }
        std::printf("%s%.17g", a > 11 ? ", " : "", mapValue(quantity, mapSpot(i, j)));
    }
    std::printf("]}\n");
    return 0;
}
