// The map worker's WebAssembly: the program's curve engine and search, with drawing that
// goes nowhere (nowhere.cpp), and the spots' values for map-worker.js.
#include "web/map/spots.h"

#include <emscripten/emscripten.h>

extern "C" {

EMSCRIPTEN_KEEPALIVE void mapPrepare(double x0, double y0, double x1, double y1, double x2,
                                     double y2, double x3, double y3, bool boxes) {
    const Point controls[4] = {{x0, y0}, {x1, y1}, {x2, y2}, {x3, y3}};
    prepareMap(controls, boxes);
}

// The spot's value, at column i and row j of the map.
EMSCRIPTEN_KEEPALIVE double mapSpotValue(int quantity, int i, int j) {
    return mapValue(static_cast<MapQuantity>(quantity), mapSpot(i, j));
}

} // extern "C"
