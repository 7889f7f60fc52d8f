#include "graphs/plot_file_reader.h"

#include <QFile>
#include <algorithm>

#include "entry/entry_errors.h"
#include "entry/units.h"
#include "entry/word_reader.h"
#include "graphs/result_plots.h"
#include "project/program_data.h"

namespace korvel {
namespace {

constexpr long double kInchesPerFoot = 12.0L;
// English moments (pound-inches) and shears (pounds) are drawn in kip units.
constexpr long double kPoundsPerKip = 1000.0L;
// LongTermMarker of a project whose results are a short-term and a long-term set.
constexpr int kLongTermPair = 9;
// Numbers a result-set block holds at the least: NEP, UNITS, NPY, NSETS, NNODES
// and the skipped integer.
constexpr int kMinBlockNumbers = 6;
constexpr const char* kIncomplete = "This file either invalid or incomplete.";

// Words of text separated by ASCII white space (blank, tab, line ends, vertical
// tab, form feed), as a split at "\s+" counts them; a plain scan, since
// building the list took a third of the time of reading a large plot file.
qint64 CountWords(QStringView text) {
    qint64 count = 0;
    bool in_word = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool space = u == u' ' || (u >= u'\t' && u <= u'\r');
        if (!space && !in_word) ++count;
        in_word = !space;
    }
    return count;
}

// The number stream of a plot file, counting what is left so that a count the
// rest of the file cannot hold is refused before any list grows to it.
class TPlotStream {
  public:
    explicit TPlotStream(const QString& path) : reader_(path) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            left_ = CountWords(DecodeFileText(file.readAll()));
        }
    }

    long double Real() {
        const long double value = reader_.ReadReal();
        --left_;
        return value;
    }
    int Integer() {
        const int value = reader_.ReadInteger();
        --left_;
        return value;
    }
    // A count of items each made of numbers_per_item numbers.
    int Count(int numbers_per_item) {
        const int count = Integer();
        if (count < 0 || static_cast<qint64>(count) * numbers_per_item > left_) {
            throw EInOutError(kIncomplete);
        }
        return count;
    }
    // The result set count: every set after the first needs a block of its own.
    int SetCount() {
        const int count = Integer();
        if (count < 0 || static_cast<qint64>(std::max(count - 1, 0)) * kMinBlockNumbers > left_) {
            throw EInOutError(kIncomplete);
        }
        return count;
    }

  private:
    TWordReader reader_;
    qint64 left_ = 0;
};

class TPlotReader {
  public:
    TPlotReader(TResultPlots& graphs, TProgramData& project)
        : g_(graphs), project_(project), results_(project.Results) {}

    void Read(const QString& path);

  private:
    std::vector<TCurveList*> DepthLists() {
        return {&g_.pltDef.Lines, &g_.pltMom.Lines,  &g_.pltShear.Lines, &g_.pltSoil.Lines,
                &g_.pltDMS.Lines, &g_.pltDMS.Lines2, &g_.pltDMS.Lines3};
    }
    void SetDepthCurveCount(int count) {
        for (TCurveList* list : DepthLists()) list->SetCurveCount(count);
    }
    void LengthenDepthLists(int count) {
        for (TCurveList* list : DepthLists()) list->Lengthen(count);
    }

    void ReadPressureRows(TPlotStream& in, int set, bool first_block);
    void ScalePressureDepths(int set, int units);
    void ReadPYCurves(TPlotStream& in, bool fill);
    void ReadResultRows(TPlotStream& in, int set, int rows, int units);
    void NameSets(int set);
    void BuildLayerMarks();
    void SetCaptions(int units);
    void StorePressure(int set, int row, long double depth, long double total);
    void StoreResult(int set, int row, const std::array<long double, 5>& values);
    void CopyResultRow(int set, int row);

    TResultPlots& g_;
    TProgramData& project_;
    TPlotResults& results_;
    int set_count_ = 1;
    int pressure_rows_ = 0;  // largest NEP of the blocks read
    int result_rows_ = 0;    // largest NNODES of the blocks read
    // Rows read per set, where filling starts.
    std::vector<int> pressure_read_;
    std::vector<int> results_read_;
};

void TPlotReader::Read(const QString& path) {
    for (TGraphPlot* graph : g_.All()) {
        graph->Lines.SetPointCount(0);
        // Every reading names its curves afresh.
        for (TCurveList* list : {&graph->Lines, &graph->Lines2, &graph->Lines3}) {
            for (int i = 0; i < list->CurveCount(); ++i) list->Curve(i).Name.clear();
        }
    }
    g_.pltLD.Lines.SetCurveCount(1);
    g_.PltCombine.Lines.SetCurveCount(3);
    results_.Clear();
    set_count_ = 1;

    TPlotStream in(path);

    // First block: earth pressure, p-y curves, results.
    ReadPressureRows(in, 0, true);
    int units = in.Integer();
    ScalePressureDepths(0, units);
    ReadPYCurves(in, true);

    const int sets = in.SetCount();
    g_.pltDef.Lines.SetCurveCount(sets);
    set_count_ = std::max(set_count_, sets);
    for (TGraphPlot* graph : {&g_.pltMom, &g_.pltShear, &g_.pltSoil}) {
        graph->Lines.SetCurveCount(g_.pltDef.Lines.CurveCount());
    }
    const int nodes = in.Count(5);
    for (TGraphPlot* graph : {&g_.pltDef, &g_.pltMom, &g_.pltShear, &g_.pltSoil}) {
        graph->Lines.Lengthen(nodes);
    }
    in.Integer();  // unit system again
    for (TCurveList* list : {&g_.pltDMS.Lines, &g_.pltDMS.Lines2, &g_.pltDMS.Lines3}) {
        list->SetCurveCount(g_.pltDef.Lines.CurveCount());
        list->SetPointCount(g_.pltDef.Lines.PointCount());
    }
    g_.pltDMS.ShowThree = true;
    results_read_.assign(static_cast<size_t>(set_count_), 0);
    if (g_.pltDef.Lines.CurveCount() >= 1 && nodes > 0) ReadResultRows(in, 0, nodes, units);
    result_rows_ = nodes;
    SetDepthCurveCount(set_count_);

    if (g_.pltDMS.Lines.HasPoints(1)) BuildLayerMarks();

    // Further blocks, as many as the set count of the first block says.
    const int blocks = set_count_;
    for (int k = 1; k < blocks; ++k) {
        g_.pltLD.Lines.SetCurveCount(set_count_);
        ReadPressureRows(in, k, false);
        units = in.Integer();
        ScalePressureDepths(k, units);
        ReadPYCurves(in, false);

        const int block_sets = in.SetCount();
        g_.pltDef.Lines.SetCurveCount(block_sets);
        set_count_ = std::max(set_count_, block_sets);
        if (g_.pltDef.Lines.CurveCount() < set_count_) g_.pltDef.Lines.SetCurveCount(set_count_);
        for (TCurveList* list : DepthLists()) list->SetCurveCount(g_.pltDef.Lines.CurveCount());
        NameSets(k);

        const int block_nodes = in.Count(5);
        LengthenDepthLists(block_nodes);
        in.Integer();
        ReadResultRows(in, k, block_nodes, units);
        result_rows_ = std::max(result_rows_, block_nodes);
        g_.pltLD.Lines.SetCurveCount(set_count_);
        SetDepthCurveCount(set_count_);
    }

    // Shorter sets end in copies of their last row.
    pressure_read_.resize(static_cast<size_t>(set_count_), 0);
    results_read_.resize(static_cast<size_t>(set_count_), 0);
    g_.pltLD.Lines.SetCurveCount(set_count_);
    g_.pltLD.Lines.Lengthen(pressure_rows_);
    if (g_.pltLD.Lines.CurveCount() > 1) {
        for (int s = 0; s < g_.pltLD.Lines.CurveCount(); ++s) {
            g_.pltLD.Lines.Curve(s).FillFrom(pressure_read_[static_cast<size_t>(s)]);
        }
    }
    LengthenDepthLists(result_rows_);
    if (g_.pltDef.Lines.CurveCount() > 1) {
        for (int s = 0; s < g_.pltDef.Lines.CurveCount(); ++s) {
            const int first = results_read_[static_cast<size_t>(s)];
            for (TCurveList* list : DepthLists()) {
                if (s < list->CurveCount()) list->Curve(s).FillFrom(first);
            }
            for (int r = std::max(first, 1); r < result_rows_; ++r) CopyResultRow(s, r);
        }
    }

    SetCaptions(units);
    for (TGraphPlot* graph : g_.All()) graph->SetUnits(units);
}

void TPlotReader::ReadPressureRows(TPlotStream& in, int set, bool first_block) {
    const int rows = in.Count(4);
    TCurveList& ld = g_.pltLD.Lines;
    TCurveList& combine = g_.PltCombine.Lines;
    ld.Lengthen(rows);
    pressure_rows_ = first_block ? rows : std::max(pressure_rows_, rows);
    results_.EarthPressureRowCount = std::min(pressure_rows_, kMaxPressureRows);
    if (pressure_read_.size() <= static_cast<size_t>(set))
        pressure_read_.resize(static_cast<size_t>(set) + 1, 0);
    pressure_read_[static_cast<size_t>(set)] = rows;
    if (first_block) {
        combine.Lengthen(rows);
        combine.Curve(0).Name = QStringLiteral("Total Earth Pressure");
        combine.Curve(1).Name = QStringLiteral("from Soils ");
        combine.Curve(2).Name = QStringLiteral("from Surcharge Loads");
    }
    const bool english_project = project_.UnitSystem() == kEnglishUnits;
    for (int r = 0; r < rows; ++r) {
        const long double depth = in.Real();
        const long double total = in.Real();
        const long double soils = in.Real();
        const long double surcharge = in.Real();
        ld.Point(set, r) = {total, depth};
        StorePressure(set, r, depth, total);
        if (first_block) {
            const long double d = english_project ? depth / kInchesPerFoot : depth;
            combine.Point(0, r) = {total, d};
            combine.Point(1, r) = {soils, d};
            combine.Point(2, r) = {surcharge, d};
        }
    }
}

void TPlotReader::ScalePressureDepths(int set, int units) {
    if (units != kEnglishUnits) return;
    TLine& curve = g_.pltLD.Lines.Curve(set);
    for (int j = 0; j < curve.PointCount(); ++j) curve.Point(j).Y /= kInchesPerFoot;
}

void TPlotReader::ReadPYCurves(TPlotStream& in, bool fill) {
    TCurveList& py = g_.pltPY.Lines;
    const int count = in.Count(2);
    py.SetCurveCount(count);
    std::vector<int> read(static_cast<size_t>(count), 0);
    int longest = 0;
    for (int i = 0; i < count; ++i) {
        TLine& curve = py.Curve(i);
        // A curve kept from an earlier block must not show that block's points.
        for (int j = 0; j < curve.PointCount(); ++j) curve.Point(j) = {};
        curve.Value = in.Real();
        const int points = in.Count(2);
        py.Lengthen(points);
        for (int j = 0; j < points; ++j) {
            const long double y = in.Real();
            const long double p = in.Real();
            curve.Point(j) = {y, p};
        }
        read[static_cast<size_t>(i)] = points;
        longest = std::max(longest, points);
    }
    if (!fill) return;
    py.Lengthen(longest);
    for (int i = 0; i < count; ++i) {
        if (read[static_cast<size_t>(i)] < longest)
            py.Curve(i).FillFrom(read[static_cast<size_t>(i)]);
    }
}

void TPlotReader::ReadResultRows(TPlotStream& in, int set, int rows, int units) {
    if (results_read_.size() <= static_cast<size_t>(set))
        results_read_.resize(static_cast<size_t>(set) + 1, 0);
    results_read_[static_cast<size_t>(set)] = rows;
    for (int r = 0; r < rows; ++r) {
        std::array<long double, 5> v{};  // depth, deflection, moment, shear, reaction
        for (long double& value : v) value = in.Real();
        if (units == kEnglishUnits) {
            v[0] /= kInchesPerFoot;
            v[2] /= kPoundsPerKip;
            v[3] /= kPoundsPerKip;
        }
        const TFloatPoint deflection{v[1], v[0]};
        const TFloatPoint moment{v[2], v[0]};
        const TFloatPoint shear{v[3], v[0]};
        g_.pltDef.Lines.Point(set, r) = deflection;
        g_.pltMom.Lines.Point(set, r) = moment;
        g_.pltShear.Lines.Point(set, r) = shear;
        g_.pltSoil.Lines.Point(set, r) = {v[4], v[0]};
        if (set < g_.pltDMS.Lines.CurveCount()) {
            g_.pltDMS.Lines.Point(set, r) = deflection;
            g_.pltDMS.Lines2.Point(set, r) = moment;
            g_.pltDMS.Lines3.Point(set, r) = shear;
        }
        StoreResult(set, r, v);
    }
}

void TPlotReader::NameSets(int set) {
    const bool long_term = project_.LongTermMarker == kLongTermPair;
    for (TCurveList* list : DepthLists()) {
        const auto name = [list](int i, const QString& text) {
            if (i < list->CurveCount()) list->Curve(i).Name = text;
        };
        name(0, QStringLiteral("Stage: 1"));
        name(set, QStringLiteral("Stage: ") + QString::number(set + 1));
        if (long_term) {
            name(0, QStringLiteral("Short-Term"));
            name(1, QStringLiteral("Long-Term"));
        }
    }
}

void TPlotReader::BuildLayerMarks() {
    struct TSoilMark {
        const char* Name;
        int Fill;  // layer colour code of the graph's soil-layer column
    };
    // By soil type 1 to 7: three clays, sand, silt, strong rock, weak rock.
    static constexpr TSoilMark kMarks[] = {{" CLAY ", 1},    {" CLAY ", 1}, {" CLAY ", 1},
                                           {" SAND ", 7},    {" SILT ", 8}, {"STRONG ROCK", 9},
                                           {"WEAK ROCK", 10}};
    TGridTable& soils = *project_.Tables().NewSoil;
    const int layers = soils.RowCount();
    TCurveList& marks = g_.pltDMS.LayerLines;
    marks.SetCurveCount(0);
    marks.SetPointCount(1);
    marks.SetCurveCount(layers + 2);
    for (int i = 0; i < layers; ++i) {
        TLine& curve = marks.Curve(i);
        curve.Name = QStringLiteral("LAYER ") + QString::number(i + 1);
        const int type = soils.Cell(0, i).AsInteger();
        curve.Point(0) = {0.0L, soils.Cell(1, i).AsFloat()};  // depth at the layer's bottom
        if (type >= 1 && type <= 7) {
            curve.Name = QString::fromLatin1(kMarks[type - 1].Name);
            curve.Point(0).X = kMarks[type - 1].Fill;
        }
    }
    g_.pltDMS.WallLineCount = layers;
    // Wall length and free height are held in the length unit; the layer depths
    // and the graph are in feet in English units.
    const long double scale = project_.UnitSystem() == kEnglishUnits ? kInchesPerFoot : 1.0L;
    const long double wall = project_.Increments * project_.IncrementLength / scale;
    marks.Curve(layers).Name = QStringLiteral("PILE");
    marks.Curve(layers).Point(0) = {0.0L, wall};
    marks.Curve(layers + 1).Name = QStringLiteral("PILE");
    marks.Curve(layers + 1).Point(0) = {0.0L, project_.FreeHeight / scale};
}

void TPlotReader::SetCaptions(int units) {
    const bool english = units == kEnglishUnits;
    const QString depth = english ? QStringLiteral("Depth (ft)") : QStringLiteral("Depth (m)");
    for (TGraphPlot* graph : {&g_.pltDef, &g_.pltMom, &g_.pltShear, &g_.pltSoil, &g_.pltLD}) {
        graph->YCaption = depth;
        graph->YUnits.clear();
    }
    g_.pltMom.XCaption = english ? QStringLiteral("Bending Moment (in-kips)")
                                 : QStringLiteral("Bending Moment (m-kN)");
    g_.pltShear.XCaption = english ? QStringLiteral("Shear (kips)") : QStringLiteral("Shear (kN)");
    TGraphPlot& dms = g_.pltDMS;
    dms.XCaption = g_.pltDef.XCaption;
    dms.YCaption = g_.pltDef.YCaption;
    dms.XUnits = g_.pltDef.XUnits;
    dms.XCaption2 = g_.pltMom.XCaption;
    dms.YCaption2 = g_.pltMom.YCaption;
    dms.XUnits2 = g_.pltMom.XUnits;
    dms.XCaption3 = g_.pltShear.XCaption;
    dms.YCaption3 = g_.pltShear.YCaption;
    dms.XUnits3 = g_.pltShear.XUnits;
}

void TPlotReader::StorePressure(int set, int row, long double depth, long double total) {
    if (set >= kMaxResultSets || row >= kMaxPressureRows) return;
    TResultSet& s = results_.Sets[static_cast<size_t>(set)];
    s.EarthPressure[static_cast<size_t>(row)] = total;
    s.EarthPressureDepth[static_cast<size_t>(row)] = depth;
}

void TPlotReader::StoreResult(int set, int row, const std::array<long double, 5>& v) {
    if (set >= kMaxResultSets || row >= kMaxResultRows) return;
    TResultSet& s = results_.Sets[static_cast<size_t>(set)];
    const auto r = static_cast<size_t>(row);
    s.NodeDepth[r] = v[0];
    s.Deflection[r] = v[1];
    s.Moment[r] = v[2];
    s.Shear[r] = v[3];
    s.SoilReaction[r] = v[4];
}

void TPlotReader::CopyResultRow(int set, int row) {
    if (set >= kMaxResultSets || row >= kMaxResultRows || row < 1) return;
    TResultSet& s = results_.Sets[static_cast<size_t>(set)];
    const auto r = static_cast<size_t>(row);
    s.NodeDepth[r] = s.NodeDepth[r - 1];
    s.Deflection[r] = s.Deflection[r - 1];
    s.Moment[r] = s.Moment[r - 1];
    s.Shear[r] = s.Shear[r - 1];
    s.SoilReaction[r] = s.SoilReaction[r - 1];
}

}  // namespace

TPlotReadResult ReadPlotFile(const QString& path, bool afterRun, TResultPlots& graphs,
                             TProgramData& project) {
    TPlotReadResult result;
    try {
        TPlotReader(graphs, project).Read(path);
        result.Loaded = true;
    } catch (const EInOutError& error) {
        result.Error = error.Message();
        if (afterRun) result.UserMessage = QString::fromLatin1(kRunErrorMessage);
    }
    return result;
}

}  // namespace korvel
