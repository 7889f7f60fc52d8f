#include "views/wall_dimensions.h"

#include <algorithm>

#include "entry/units.h"
#include "project/program_data.h"

namespace korvel {

namespace {
constexpr double kInchesPerFoot = 12.0;
}

double TWallDimensions::UnitY(int unit) const {
    const int half = kWallUnits / 2;
    const int j = unit < half ? unit : unit - half;
    const double y = Width * (j + 0.5);
    return unit < half ? -y : y;
}

double SceneLength(long double held, int unit_system) {
    const double value = static_cast<double>(held);
    return unit_system == kEnglishUnits ? value / kInchesPerFoot : value;
}

TWallDimensions GetWallDimensions(const TProgramData& project) {
    const int system = project.UnitSystem();
    TWallDimensions d;
    d.NIncr = std::max(project.Increments, 0);
    d.Incr = SceneLength(project.IncrementLength, system);
    d.Length = d.NIncr * d.Incr;
    d.Width = SceneLength(project.Wa, system);
    if (d.Width == 0.0) d.Width = d.Length * 0.1;
    d.Thickness = SceneLength(project.Wp * 0.1L, system);
    if (d.Thickness == 0.0) d.Thickness = d.Length * 0.01;
    d.FreeHeight = SceneLength(project.FreeHeight, system);
    return d;
}

bool SoilLayersInUse(const TProgramData& project) {
    return project.GeneratePYCurves || GeneratesEarthPressure(project);
}

TSceneExtents GetMaxDims(const TWallDimensions& wall, double last_layer_bottom) {
    TSceneExtents e;
    e.A = 12.5 * wall.Width;
    e.B = 5.0 * wall.Width;
    e.Zm = std::max(wall.Length, last_layer_bottom);
    e.D = std::max(2.0 * e.Zm, e.A);
    e.S = 2.0 * e.B;
    e.Centre = -e.Zm / 2.0;
    return e;
}

TSceneExtents GetMaxDims(const TProgramData& project) {
    TGridTable& soil = *project.Tables().NewSoil;
    double bottom = 0.0;
    if (soil.RowCount() > 0)
        bottom = static_cast<double>(soil.Cell(1, soil.RowCount() - 1).AsFloat());
    return GetMaxDims(GetWallDimensions(project), bottom);
}

}  // namespace korvel
