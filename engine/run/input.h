// Reading a section's records from the data file into the problem state,
// with their echo in the report. Every reader throws DataError (with the
// report text that ends the run) or text::ReadError for input it cannot take.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "run/problem.h"
#include "text/record_reader.h"
#include "text/unit_labels.h"

namespace korvel::engine {

// Where a section is read from and written to. `folder` is the current
// folder of the run, where the intermediate files of the soil subsystem live.
struct InputContext {
    text::RecordReader& in;
    std::ostream& report;
    std::ostream& plot;
    std::ostream& notes;
    std::ostream& err;
    text::UnitLabels& labels;
    std::filesystem::path folder;

    soil::SoilOutput SoilOutput() { return {report, notes, err, labels, folder}; }
};

// TITLE: the first 70 bytes of its line.
std::string ReadTitle(text::RecordReader& in);

// CONTROL: ten integers.
void ReadControl(text::RecordReader& in, Problem& problem);

void EchoControl(std::ostream& report, const Problem& problem);
void ReadWall(InputContext& ctx, Problem& problem);
void ReadRestraints(InputContext& ctx, Problem& problem);

// STIFFNESS, CONCLOADS, SPRINGS with TIEBACK, with the report's station-data
// banner and units line before them.
void ReadStationData(InputContext& ctx, Problem& problem);

// The station of a tieback at depth `depth` and its lateral spring stiffness.
struct TiebackSpring {
    int station = 0;
    double stiffness = 0.0;
};
struct Tieback {
    double depth = 0.0;
    double steelArea = 0.0;
    double steelModulus = 0.0;
    double unbondedLength = 0.0;
    double angle = 0.0;  // degrees
    double spacing = 0.0;
};
TiebackSpring TiebackToSpring(const Tieback& tieback, const Problem& problem);

void ReadPYMod(InputContext& ctx, Problem& problem);

// Stations N+1 and N+2 carry no data of their own; data there ends the run.
void CheckNoDataBeyondEnd(const Problem& problem);

void ReadEICurves(InputContext& ctx, Problem& problem);

}  // namespace korvel::engine
