// What the program tells the user after the engine returned from a run that
// it did not refuse: the analysis was completed, or it stopped on an error in
// the data, which the output report states in a line of its own ("     ERROR
// STOP -- ...", "     TOO MUCH DATA FOR AVAILABLE STORAGE") before "END OF
// ANALYSIS". Model code: it reads the report and shows nothing.
#pragma once

#include <QString>

namespace korvel {

// The report's first line that stops the run on an error in the data, without
// its leading blanks; empty when there is none or the report cannot be read.
QString DataErrorLine(const QString& output_report);

// The one message after the run: the completion message, or (error_line not
// empty) that the analysis stopped on an error in the data, quoting the line.
QString RunEndMessage(const QString& error_line);

}  // namespace korvel
