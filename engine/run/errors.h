// How a run ends early. A DataError carries the report text that ends the
// run (the section loop then writes "     END OF ANALYSIS"); an EngineStop is
// an unrecoverable condition: the entry point closes the files and returns 2.
#pragma once

#include <stdexcept>
#include <string>

namespace korvel::engine {

class DataError : public std::runtime_error {
  public:
    // `reportText` is written as it stands, e.g. "     ERROR STOP -- STATIONS NOT IN ORDER".
    // `blankLinesBefore` empty lines precede it, `blankLinesAfter` follow it.
    explicit DataError(std::string reportText, int blankLinesBefore = 2, int blankLinesAfter = 0)
        : std::runtime_error(reportText),
          blankLinesBefore_(blankLinesBefore),
          blankLinesAfter_(blankLinesAfter) {}

    int blankLinesBefore() const { return blankLinesBefore_; }
    int blankLinesAfter() const { return blankLinesAfter_; }

  private:
    int blankLinesBefore_;
    int blankLinesAfter_;
};

inline DataError StationsNotInOrder() {
    return DataError("     ERROR STOP -- STATIONS NOT IN ORDER");
}
inline DataError TooMuchData() {
    return DataError("     TOO MUCH DATA FOR AVAILABLE STORAGE", 2, 2);
}

class EngineStop : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace korvel::engine
