// TProgramData: the open project. It holds the scalar inputs, the analysis
// options, the file name, the stage position and the unit system, and reads and
// writes the list-shaped inputs in the main window's grid tables (TProgramTables,
// which must outlive the project). Lengths are held in the unit system's base
// length (inches in English, metres in SI), forces in its base force.
//
// Model code: it never shows anything. Reading returns the reader's message;
// writing throws EInOutError.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "entry/table_definitions.h"
#include "project/plot_results.h"
#include "project/unit_switch_memo.h"

namespace korvel {

// The three kinds of section a data file or a stage file holds.
enum class TSectionKind {
    kFirst,     // the short-term or only analysis; user pressure and soils from DistLoad, NewSoil
    kLongTerm,  // after NEXT 9: LongDist, LongSoil, generated pressure always 2, no K slots
    kStage,     // a stage file: generated pressure always 2, NEXT carries the stage number
};

// Outcome of reading a data file. The project keeps whatever was read before an error.
struct TReadResult {
    bool Complete = true;
    QString Message;  // the reader's message when not complete
    // Values changed as they were read, each naming its line (complete or not).
    // (Initialised here so that {false, message} still initialises every member.)
    QStringList Warnings{};
    // What to tell the user: the message and the warnings, "\r" between them;
    // empty when the file was read completely and as it stands.
    QString Notice() const;
};

// The project's own values, with the defaults of a new project. Everything here
// is reset at once by CreateNew.
// The data file's p-y option for curves generated at every station.
constexpr int kPYCurvesAtEveryStation = 3;

struct TProjectFields {
    static constexpr const char* kNewFileName = "NewWall.kv5d";
    static constexpr const char* kNewTitle = "New Wall";

    // --- Scalars (defaults of a new project) ------------------------------------
    QString FileName = kNewFileName;
    QString Title = kNewTitle;           // at most 80 characters when edited
    int Increments = 0;                  // increments (nodes) along the wall, 1 to 300 when edited
    long double IncrementLength = 0.0L;  // length
    long double MaxDeflection = 100.0L;  // length; iteration stops beyond it
    long double ClosureTolerance = 1e-5L;     // length; deflection closure
    long double FreeHeight = 0.0L;            // length (inches in English, shown in ft)
    long double Wa = 0.0L;                    // width for active earth pressure, length
    long double Wp = 0.0L;                    // width for generating p-y resistance, length
    long double WaterDepthBackfill = 0.0L;    // length (inches in English)
    long double WaterDepthExcavation = 0.0L;  // length (inches in English)
    long double ActivePressureFactor = 1.0L;  // multiplier on generated active pressure
    int WaterFlag = 1;                    // 1: water pressure in the generated pressure; no editor
    long double BackfillSlope = 0.0L;     // degrees, -45 to 45
    long double UniformSurcharge = 0.0L;  // pressure per base length squared (lbs/in^2 in English)
    // The single surcharge of older files, written as held.
    long double SurchargeDistance = 0.0L;  // length
    long double PointLoad = 0.0L;          // force
    long double LineLoad = 0.0L;           // force per length
    long double StripLoad = 0.0L;          // pressure
    long double StripWidth = 0.0L;         // length
    int StageCount = 1;                    // 1 to 5; 1 means not staged
    int CurrentStage = 1;                  // 1 to StageCount
    // End code of the first section: the first NEXT read, or 0/9 as the last write
    // derived it from LongTermAnalysis. 9 tells the plot reader that the results
    // hold a short-term and a long-term set.
    int LongTermMarker = 0;
    // Earth pressure chosen in the menu: 1 user, 2 triangular, 3 trapezoidal, 0 none yet.
    // The one record of that choice: whether the pressure is the user's table or
    // generated from the soil layers follows from it wherever that is needed
    // (UsesUserEarthPressure, GeneratesEarthPressure), so that what the menu shows
    // is what is saved and analysed.
    int EarthPressureType = 0;

    // --- Option flags: each Apply flag decides whether its table is written ----
    bool ApplyRestraints = false;         // Soillayer
    bool ApplyConcentratedLoads = false;  // BoundCond
    bool ApplySprings = false;            // SoilStrength
    bool ApplyTiebacks = false;           // TiebackTable1
    bool ApplyPYModification = false;     // PYMod
    bool ApplyExternalPYCurves = false;   // PYCurves2 and its curves
    bool ApplyEICurves = false;           // MEICurves2 and its curves
    bool ApplySurcharges = false;         // SurchargeTable
    bool GeneratePYCurves = true;         // p-y curves generated from the soil layers
    bool PYCurvesAtEveryStation =
        false;                      // generated at every station (option 3), not five per layer
    bool LongTermAnalysis = false;  // a long-term section is written

    // --- Format flags of the stage files (set by every write) -------------------
    bool EIRecordsPresent = true;       // nEICurves, p-y multipliers, SURCHARGES, EICURVE
    bool TiebackRecordsPresent = true;  // nTiebacks, Wa in WALL, TIEBACK rows

    // --- Values derived at every write ----------------------------------------
    int EarthPressureOption = 0;
    int PYCurveOption = 2;
    int nEICurves = 0;
    int nTiebacks = 0;

    // Results of the last run (plot data reader).
    TPlotResults Results;

    // What the last unit switch wrote into each stage file, by stage (stage_units.h).
    std::map<int, TStageUnitRecord> StageUnitMemo;

    // The last read of FileName (or of a stage file) stopped at an error, so the
    // project holds only part of the file: writing over FileName needs the
    // user's consent. Cleared when the data file is written.
    bool PartlyRead = false;
};

// The user's pressure table (DistLoad, LongDist) is the wall's earth pressure.
inline bool UsesUserEarthPressure(const TProjectFields& project) {
    return project.EarthPressureType == 1;
}
// The earth pressure is generated from the soil layers (triangular or trapezoidal).
inline bool GeneratesEarthPressure(const TProjectFields& project) {
    return project.EarthPressureType >= 2;
}

class TProgramData : public QObject, public TProjectFields {
    Q_OBJECT

  public:
    explicit TProgramData(TProgramTables& tables, QObject* parent = nullptr);

    TProgramTables& Tables() const { return tables_; }

    // New project with the defaults of TProjectFields; every grid table reset to MinRows rows
    // of defaults in English units; the modified state cleared. Emits aboutToReset
    // first, so that the main window closes its child windows.
    void CreateNew();
    // Builds a project from defaults and reads the file. Format 1 is ".kv5d";
    // 2 (".kv4d"), 3 (".kvd", later kind) and 4 (".kvd", earliest kind) lack the
    // records their format lacks (LayoutOfFormat). Never throws
    // for the file's content: the partial project stays and the result carries
    // the reader's message. Tables are filled up to MinRows and the modified state
    // is cleared in every case.
    TReadResult CreateFromFile(const QString& path, int format = 1);
    // Writes the first section, NEXT and, with long-term analysis on, the long-term
    // section and a final 0 to FileName: into a temporary file beside it that then
    // replaces it, so that a failed save leaves the previous file intact. Leaves
    // out the tables of switched-off options (their rows stay). Clears the modified state; throws
    // EInOutError (modified state kept) when the file cannot be written.
    void WriteDataFile();
    // The text WriteDataFile writes (CR LF lines, UTF-8), with the same effects on
    // the model except the file and the modified state.
    QByteArray DataFileText();

    // Clamps to 1..3 and converts the held lengths and forces (English <-> SI only,
    // with the fixed factors 0.0254 / 39.3701 and 0.004448222... / 224.8089), every
    // grid table and the surcharge magnitudes by load type. A held value or
    // surcharge magnitude that the last switch converted and that was not edited
    // since comes back as it was before that switch (TUnitSwitchMemo). Does not
    // mark the project modified. Emits unitSystemChanged so open dialogs show the
    // new values.
    void SetUnitSystem(int system);
    int UnitSystem() const { return unit_system_; }

    // What to ask before a save writes over FileName while PartlyRead is set:
    // Yes saves under another name (the answer a hasty Enter gives keeps the
    // file), No replaces the file, Cancel saves nothing.
    QString PartlyReadQuestion() const;

    // The project's flag or any grid table's (chart tables included).
    bool Modified() const;
    // Clearing also clears every grid table's flag.
    void SetModified(bool modified);

    // Every data table with fewer rows than its minimum gets default rows. After
    // reading a file the curve (chart) tables are left as read: they fill up
    // when their window opens, so an unchanged project saves unchanged.
    void FillUpTables(bool includeChartTables = true);

  Q_SIGNALS:
    // A new project is about to replace this one: close every child window.
    void aboutToReset();
    void unitSystemChanged(int system);
    // Values were changed outside the windows that show them (the wall set to a
    // new length): open dialogs and views show the project again.
    void valuesChanged();

  private:
    TProgramTables& tables_;
    int unit_system_ = 1;
    bool modified_ = false;
    TUnitSwitchMemo unit_memo_;
};

}  // namespace korvel
