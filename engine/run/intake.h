// Intake of the earth pressure and the p-y curves of a section: the user's
// tables from the data file, or what the soil subsystem generates and hands
// back through its intermediate files. Pressures become transverse loads on
// the stations; curves go into the section's PYCurveTable.
#pragma once

#include <filesystem>
#include <vector>

#include "run/input.h"

namespace korvel::engine {

// EPUSER or the soil records, the pressure echo, plot-file part A and the
// pressure loads. Only for sections with stiffness rows.
void TakeInEarthPressure(InputContext& ctx, Problem& problem);

// Reads past the earth-pressure records of a section without wall data,
// keeping the soil records for the p-y curves.
void SkipEarthPressure(InputContext& ctx, Problem& problem);

// GEOMETRY, SURCHARGE, SURCHARGES and SOILS into problem.soil.
void ReadSoilRecords(text::RecordReader& in, Problem& problem);

// The pressure file of the earth-pressure module: its count, then that many
// rows (depth, total, soils, surcharges per unit width), read in free format.
// A missing file or a count below 1 throws DataError, a count above the
// pressure table's 1200 rows TooMuchData(), a short file text::ReadError.
std::vector<PressureRow> ReadPressureFile(const std::filesystem::path& path);

// Adds the pressure table's loads to Q at stations 1 to the nearest station
// of `depth`, interpolating linearly between rows.
void ApplyPressureLoads(Problem& problem, double depth);

// PYSET records or the generated curves, the echo and plot-file part B.
void TakeInPYCurves(InputContext& ctx, Problem& problem);

}  // namespace korvel::engine
