#include "soil/layer_checks.h"

#include <string>

namespace korvel::soil {

void CheckLayerDepths(const SoilProblem& problem) {
    const double limit = kDepthLimitInWallLengths * problem.wallLength;
    for (size_t i = 0; i < problem.layers.size(); ++i) {
        const SoilLayer& layer = problem.layers[i];
        const std::string name = "     ERROR STOP -- SOIL LAYER " + std::to_string(i + 1);
        // Written so that a bottom that is not a number is refused as well.
        if (!(layer.bottomDepth <= limit)) {
            throw SoilDataError(name + " GOES DEEPER THAN " +
                                std::to_string(static_cast<int>(kDepthLimitInWallLengths)) +
                                " TIMES THE WALL LENGTH");
        }
        if (layer.thickness > 0.0) continue;
        const char* above = i == 0 ? "THE TOP OF THE BACKFILL" : "THE BOTTOM OF THE LAYER ABOVE";
        if (layer.thickness == 0.0) {
            throw SoilDataError(name + " HAS NO THICKNESS: ITS BOTTOM IS AT " + above);
        }
        throw SoilDataError(name + " GOES BACK UP: ITS BOTTOM IS ABOVE " + above);
    }
}

}  // namespace korvel::soil
