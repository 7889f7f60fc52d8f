#include "run/analysis.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>

#include "run/control_file.h"
#include "run/errors.h"
#include "run/input.h"
#include "run/intake.h"
#include "run/iteration.h"
#include "run/report_header.h"
#include "run/results_block.h"
#include "text/layout.h"
#include "text/record_reader.h"
#include "text/unit_labels.h"

namespace korvel::engine {
namespace {

constexpr int kLongTermCode = 9;  // NEXT code announcing the long-term section

// One row of plot-file part C.
struct PlotRow {
    double depth, deflection, moment, shear, reaction;
};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::tm LocalNow() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm now{};
    localtime_r(&t, &now);
    return now;
}

// Reads the data file's sections one after the other and writes the report,
// plot data file and run notes. All state of the run lives here.
class SectionLoop {
  public:
    SectionLoop(const ControlFile& control, const std::filesystem::path& folder, std::istream& data,
                std::ostream& report, std::ostream& plot, std::ostream& notes, std::ostream& err,
                RunStats* stats)
        : stats_(stats),
          control_(control),
          folder_(folder),
          in_(data),
          report_(report),
          plot_(plot),
          notes_(notes),
          err_(err) {}

    void Run() {
        try {
            while (RunSection()) {
            }
        } catch (const DataError& e) {
            report_ << std::string(e.blankLinesBefore(), '\n') << e.what() << '\n'
                    << std::string(e.blankLinesAfter(), '\n');
        } catch (const text::ReadError& e) {
            report_ << "\n\n     ERROR STOP -- " << e.what() << '\n';
        } catch (const soil::SoilDataError& e) {
            report_ << "\n\n" << e.what() << '\n';
        }
        WriteEnd();
    }

    // For a data file that could not be opened: the error, then the usual end.
    void EndWithError(const std::string& reportText) {
        report_ << "\n\n" << reportText << '\n';
        WriteEnd();
    }

  private:
    // Returns true when a further section follows.
    bool RunSection() {
        auto problem = std::make_unique<Problem>();
        Problem& p = *problem;

        SectionTitle title;
        title.title = ReadTitle(in_);
        title.sectionNumber = ++sectionNumber_;
        if (sectionNumber_ == 1) firstTitle_ = title.title;
        title.firstTitle = firstTitle_;
        ReadControl(in_, p);
        if (p.stageCount > 1) {
            title.kind = SectionTitle::Kind::Stage;
        } else if (sectionNumber_ > 1) {
            title.kind = SectionTitle::Kind::LongTerm;
        }
        WriteReportHeader(report_, control_, title, LocalNow());
        // Other units keep the labels as last chosen, by a section or by the curve generator.
        labels_.SetUnitLabels(text::UnitLabelFlag(p.unitSystem, labels_.lastFlag));
        unitSystem_ = p.unitSystem;

        InputContext ctx{in_, report_, plot_, notes_, err_, labels_, folder_};
        p.soil.effectiveOverburden = effectiveOverburden_;
        p.soil.modelPi = modelPi_;
        EchoControl(report_, p);
        ReadWall(ctx, p);
        ReadRestraints(ctx, p);
        ReadStationData(ctx, p);
        ReadPYMod(ctx, p);
        SectionTiming timing;
        auto start = Clock::now();
        if (p.nStiffness > 0) {
            TakeInEarthPressure(ctx, p);
        } else {
            // No wall data: the pressure records are passed over, part A stays readable.
            std::ostringstream discard;
            InputContext quiet{in_, discard, discard, discard, err_, labels_, folder_};
            SkipEarthPressure(quiet, p);
            plot_ << text::FreeFormatLine({0});
        }
        timing.earthPressure = SecondsSince(start);
        effectiveOverburden_ = p.soil.effectiveOverburden;
        CheckNoDataBeyondEnd(p);
        start = Clock::now();
        TakeInPYCurves(ctx, p);
        timing.curves = SecondsSince(start);
        modelPi_ = p.soil.modelPi;
        ReadEICurves(ctx, p);

        WriteSectionTitleLine(report_, title);
        start = Clock::now();
        const IterationOutcome outcome = Iterate(p, notes_);
        const std::vector<ResultRow> rows = DeriveResults(p, outcome.w);
        timing.iteration = SecondsSince(start);
        if (stats_) stats_->sections.push_back(timing);
        WriteResultsBlock(report_, labels_, outcome, rows, p.N);
        lastRows_.clear();
        for (const ResultRow& r : rows) {
            lastRows_.push_back({r.x, r.deflection, r.moment, r.shear, r.reaction});
        }

        in_.BeginRecord("NEXT");
        int next = in_.ReadInt();
        if (next == p.stageCount) next = 0;
        if (next == 0) return false;
        resultBlockCount_ = next == kLongTermCode ? 2 : p.stageCount;
        WriteResultBlock();
        return true;
    }

    void WriteEnd() {
        report_ << "\n\n\n"
                << "     END OF ANALYSIS" << std::string(49 - 20, ' ') << '\n';
        WriteResultBlock();
    }

    // Plot-file part C of the section solved last.
    void WriteResultBlock() {
        plot_ << text::FreeFormatLine(
            {resultBlockCount_, static_cast<int>(lastRows_.size()), unitSystem_});
        const text::Layout row("(5(1X, E13.4))");
        for (const PlotRow& r : lastRows_) {
            plot_ << row.Format({r.depth, r.deflection, r.moment, r.shear, r.reaction});
        }
    }

    RunStats* stats_;
    const ControlFile& control_;
    std::filesystem::path folder_;
    text::RecordReader in_;
    std::ostream& report_;
    std::ostream& plot_;
    std::ostream& notes_;
    std::ostream& err_;
    text::UnitLabels labels_;
    // The earth-pressure module's last effective overburden at the excavation
    // level; a later section without generated pressure still sees it.
    double effectiveOverburden_ = 0.0;
    // The value of pi the p-y models use; a silt layer changes it for every
    // model that runs after it in the analysis.
    double modelPi_ = soil::SoilProblem{}.modelPi;
    int unitSystem_ = 1;
    int sectionNumber_ = 0;
    int resultBlockCount_ = 1;
    std::string firstTitle_;
    std::vector<PlotRow> lastRows_;
};

}  // namespace

int RunAnalysis(const std::filesystem::path& workFolder, std::ostream& err, RunStats* stats) {
    const ControlFile control = ReadControlFile(FindIgnoringCase(workFolder, "names.dat"));
    if (!control.complete) {
        err << " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n"
            << " BEFORE COMPUTATION.  TRY IT AGAIN!\n";
        return 0;
    }

    std::ifstream data(control.dataPath, std::ios::binary);
    std::ofstream report(control.reportPath, std::ios::binary | std::ios::trunc);
    std::ofstream plot(control.plotPath, std::ios::binary | std::ios::trunc);
    std::ofstream notes(control.notesPath, std::ios::binary | std::ios::trunc);
    if (!report || !plot || !notes) {
        err << " CANNOT CREATE THE RESULT FILES BESIDE " << control.dataPath << '\n';
        return 2;
    }

    SectionLoop loop(control, workFolder, data, report, plot, notes, err, stats);
    if (!data) {
        err << " CANNOT OPEN THE INPUT DATA FILE " << control.dataPath << '\n';
        loop.EndWithError("     ERROR STOP -- CANNOT OPEN THE INPUT DATA FILE");
    } else {
        try {
            loop.Run();
        } catch (const soil::SoilStop& stop) {
            // Nothing more is written; the files close as they stand.
            err << " ANALYSIS STOPPED (STOP CODE " << stop.code() << "): " << stop.what() << '\n';
            return 2;
        }
    }
    report.close();
    plot.close();
    notes.close();
    if (!report || !plot || !notes) {
        err << " WRITING THE RESULT FILES FAILED\n";
        return 2;
    }
    return 0;
}

}  // namespace korvel::engine
