#include "soil/layer_checks.h"

#include <string>

namespace korvel::soil {

void CheckLayerDepths(const std::vector<SoilLayer>& layers) {
    for (size_t i = 0; i < layers.size(); ++i) {
        const double thickness = layers[i].thickness;
        if (thickness > 0.0) continue;
        const std::string layer = "     ERROR STOP -- SOIL LAYER " + std::to_string(i + 1);
        const char* above = i == 0 ? "THE TOP OF THE BACKFILL" : "THE BOTTOM OF THE LAYER ABOVE";
        if (thickness == 0.0) {
            throw SoilDataError(layer + " HAS NO THICKNESS: ITS BOTTOM IS AT " + above);
        }
        throw SoilDataError(layer + " GOES BACK UP: ITS BOTTOM IS ABOVE " + above);
    }
}

}  // namespace korvel::soil
