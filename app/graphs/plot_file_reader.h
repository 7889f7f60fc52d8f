// ReadPlotFile: loads the engine's plot data file (".kv5p") into the result graphs
// and the project's result arrays. The file is a stream of numbers, one block per
// result set (earth pressure, p-y curves, results by station); the first block
// says how many blocks follow.
//
// Model code: nothing is shown here. A failed read returns the reader's message,
// and after a run also the message the window shows to the user.
#pragma once

#include <QString>

namespace korvel {

class TProgramData;
class TResultPlots;

// Message shown when the plot data file of a run cannot be read.
inline constexpr const char* kRunErrorMessage = "An error occurred in running the main program.";

struct TPlotReadResult {
    bool Loaded = false;  // the whole file was read; becomes PlotDataLoaded
    QString Error;        // the input/output error that stopped the read
    QString UserMessage;  // kRunErrorMessage after a run, else empty
};

// Reads the file into the graphs and project.Results. On an input/output error
// the graphs keep what was loaded before it, and their captions and units stay
// as they were. Takes the soil layers (NewSoil), the wall's length and free
// height, the unit system and the long-term marker from the project.
TPlotReadResult ReadPlotFile(const QString& path, bool afterRun, TResultPlots& graphs,
                             TProgramData& project);

}  // namespace korvel
