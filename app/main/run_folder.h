// The working folder of one analysis run in the program: made afresh with
// mkdtemp under the per-user run folder, so that two program windows never
// share the control file or the engine's scratch files; the engine writes its
// report, plot data file and run notes there, and they reach the data file's
// folder whole, by rename, when it has finished. The folder goes with the
// object, with everything in it.
#pragma once

#include <QString>
#include <memory>

namespace korvel {

namespace runfiles {
class PrivateFolder;
}

// Why the data file cannot be analysed under its name, as the message the
// user sees ("" when it can): its path holds a line break or ends in a blank
// (the control file carries each path as one line, without trailing blanks),
// or its name ends in ".kv5o", ".kv5p" or ".kv5r" (its results would replace it).
QString RefusedRunMessage(const QString& data_file);

class TRunFolder {
  public:
    // Throws EInOutError naming the folder that cannot be made.
    TRunFolder(const QString& parent, const QString& data_file);
    ~TRunFolder();
    TRunFolder(const TRunFolder&) = delete;
    TRunFolder& operator=(const TRunFolder&) = delete;

    QString Path() const;
    // Where the engine writes this run's results (in the folder).
    QString ReportFile() const;
    QString PlotFile() const;
    QString NotesFile() const;
    // Replaces the files beside the data file by the results the engine wrote,
    // each whole; a link at a result's name is replaced, never followed.
    // Throws EInOutError naming the first file that cannot be written.
    void PublishResults() const;

  private:
    std::unique_ptr<runfiles::PrivateFolder> folder_;
    QString data_file_;
};

}  // namespace korvel
