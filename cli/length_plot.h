// The picture of a wall length study: head deflection and maximum moment
// against the wall's length, one curve per section, the critical length marked
// by a vertical line. Drawn by the program's graph painter on Qt's offscreen
// platform, so it needs no display.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "length_study.h"

namespace korvel::cli {

// Writes PNG, or SVG when the name ends in ".svg"; false with the reason in
// `error` when the picture cannot be made or written.
bool SaveStudyPlot(const std::string& path, const std::vector<StudyRow>& rows,
                   std::optional<size_t> critical, std::string& error);

}  // namespace korvel::cli
