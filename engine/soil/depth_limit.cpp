#include "soil/depth_limit.h"

#include <string>

namespace korvel::soil {

void CheckLayerDepths(const SoilProblem& problem) {
    const double limit = kDepthLimitInWallLengths * problem.wallLength;
    for (size_t i = 0; i < problem.layers.size(); ++i) {
        // Written so that a bottom that is not a number is refused as well.
        if (!(problem.layers[i].bottomDepth <= limit)) {
            throw SoilDataError("     ERROR STOP -- SOIL LAYER " + std::to_string(i + 1) +
                                " GOES DEEPER THAN " +
                                std::to_string(static_cast<int>(kDepthLimitInWallLengths)) +
                                " TIMES THE WALL LENGTH");
        }
    }
}

}  // namespace korvel::soil
