#include "run/input.h"

#include <cmath>
#include <sstream>

#include "run/errors.h"
#include "run/report_header.h"
#include "run/report_text.h"
#include "run/station_tables.h"
#include "text/layout.h"
#include "text/unit_labels.h"

namespace korvel::engine {
namespace {

constexpr size_t kTitleBytes = 70;
constexpr int kMaxIncrements = kStationPositions - 7;  // stations -3 to N+3 must fit
constexpr double kPi = 3.1416;                         // as the tieback angle has always used
constexpr double kInchesPerFoot = 12.0;

int ReadCount(text::RecordReader& in, const char* record) {
    in.BeginRecord(record);
    const int count = in.ReadInt();
    if (count < 0) throw DataError(std::string("     ERROR STOP -- NEGATIVE COUNT IN ") + record);
    return count;
}

// A station whose array position lies outside the storage.
void CheckStorage(int station) {
    const int position = StationIndex(station);
    if (position < 1 || position > kStationPositions) throw TooMuchData();
}

void WriteCaptionLine(std::ostream& report, const char* caption, const std::string& value) {
    report << "      " << caption << value << '\n';
}

}  // namespace

std::string ReadTitle(text::RecordReader& in) {
    return CutUtf8(in.ReadLine("TITLE"), kTitleBytes);
}

void ReadControl(text::RecordReader& in, Problem& p) {
    in.BeginRecord("CONTROL");
    p.unitSystem = in.ReadInt();
    p.nRestraints = in.ReadInt();
    p.nStiffness = in.ReadInt();
    p.nPYMod = in.ReadInt();
    p.earthPressureOption = in.ReadInt();
    p.pyCurveOption = in.ReadInt();
    p.nPYSets = in.ReadInt();
    p.stageCount = in.ReadInt();
    p.nEICurves = in.ReadInt();
    p.nTiebacks = in.ReadInt();
    for (int count : {p.nRestraints, p.nStiffness, p.nPYMod, p.nPYSets, p.nEICurves, p.nTiebacks}) {
        if (count < 0) throw DataError("     ERROR STOP -- NEGATIVE COUNT IN CONTROL");
    }
}

void EchoControl(std::ostream& report, const Problem& p) {
    WriteBanner(report, "*        PROGRAM CONTROL PARAMETERS              *");
    const auto line = [&](const char* caption, int value) {
        WriteCaptionLine(report, caption, text::FormatI(value, 2));
    };
    line("NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ", p.nRestraints);
    line("NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      = ", p.nStiffness);
    line("GENERATE EARTH PRESSURE INTERNALLY                 = ", p.earthPressureOption >= 2);
    line("GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ",
         soil::GeneratesPYCurves(p.pyCurveOption));
    if (p.pyCurveOption == soil::kPYCurvesAtEveryStation) {
        line("P-Y CURVES GENERATED AT EVERY STATION              = ", 1);
    }
    line("NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ", p.nPYMod);
    line("NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ", p.nPYSets);
}

void ReadWall(InputContext& ctx, Problem& p) {
    ctx.in.BeginRecord("WALL");
    p.N = ctx.in.ReadInt();
    p.h = ctx.in.ReadReal();
    p.maxDeflection = ctx.in.ReadReal();
    p.closureTolerance = ctx.in.ReadReal();
    p.freeHeight = ctx.in.ReadReal();
    p.Wa = ctx.in.ReadReal();
    p.twoH = 2.0 * p.h;
    p.hSquared = p.h * p.h;
    p.hCubed = p.hSquared * p.h;
    p.wallLength = p.N * p.h;
    soil::SoilProblem& s = p.soil;
    s.unitSystem = p.unitSystem;
    s.earthPressureOption = p.earthPressureOption;
    s.pyCurveOption = p.pyCurveOption;
    s.N = p.N;
    s.h = p.h;
    s.wallLength = p.wallLength;

    const std::string& length = ctx.labels.lengthLong;
    auto& r = ctx.report;
    WriteCaptionLine(
        r, "NUMBER OF INCREMENTS                               = ", text::FormatI(p.N, 3));
    WriteCaptionLine(r, "INCREMENT LENGTH                                   = ",
                     text::FormatF(p.h, 7, 3) + length);
    WriteCaptionLine(r, "FREE HEIGHT OF WALL                                = ",
                     text::FormatF(p.freeHeight, 7, 3) + length);
    WriteCaptionLine(r, "MAXIMUM ALLOWABLE DEFLECTION                       = ",
                     text::FormatF(p.maxDeflection, 7, 3) + length);
    WriteCaptionLine(r, "DEFLECTION CLOSURE TOLERANCE                       = ",
                     text::FormatF(p.closureTolerance, 7, 5) + length);

    if (p.N > kMaxIncrements) throw TooMuchData();
    if (p.N < 1 || !(p.h > 0.0) || !std::isfinite(p.h)) {
        throw DataError("     ERROR STOP -- INCREMENTS AND INCREMENT LENGTH MUST BE POSITIVE");
    }
}

void ReadRestraints(InputContext& ctx, Problem& p) {
    for (int j = 1; j <= p.N + 7; ++j) p.stationCode[j] = kFree;
    auto& r = ctx.report;
    if (p.nRestraints > 0) {
        WriteBanner(r, "*        SPECIFIED DEFLECTIONS AND SLOPES        *");
        r << "          STA      CASE       DEFLECTION        SLOPE\n\n";
    }
    if (p.nRestraints > kMaxRestraints) throw TooMuchData();
    if (p.nRestraints == 0) WriteEmptyTable(r);

    int previous = -1;
    for (int row = 0; row < p.nRestraints; ++row) {
        ctx.in.BeginRecord("RESTRAINT");
        const int restraintCase = ctx.in.ReadInt();
        const int k = ctx.in.ReadInt();
        const double deflection = ctx.in.ReadReal();
        const double slope = ctx.in.ReadReal();
        if (k < previous) throw StationsNotInOrder();
        previous = k;
        // A slope uses the stations on both sides of k.
        CheckStorage(k - 1);
        CheckStorage(k + 1);
        p.specified.push_back({deflection, slope});

        if (restraintCase <= 1) {
            p.stationCode[StationIndex(k)] = kDeflection;
            r << text::FormatLayout("(10X, I3, 7X, I2, 8X, E10.3, 9X, \"NONE\")",
                                    {k, restraintCase, deflection});
        } else if (restraintCase == 2) {
            p.stationCode[StationIndex(k - 1)] = kBeforeSlope;
            p.stationCode[StationIndex(k + 1)] = kAfterSlope;
            r << text::FormatLayout("(10X, I3, 7X, I2, 11X, \"NONE\", 8X, E10.3)",
                                    {k, restraintCase, slope});
        } else {
            p.stationCode[StationIndex(k - 1)] = kBeforeSlope;
            p.stationCode[StationIndex(k)] = kDeflectionWithSlope;
            p.stationCode[StationIndex(k + 1)] = kAfterSlope;
            r << text::FormatLayout("(10X, I3, 7X, I2, 3X, 2(5X, E10.3))",
                                    {k, restraintCase, deflection, slope});
        }
    }
}

TiebackSpring TiebackToSpring(const Tieback& t, const Problem& p) {
    // English input gives depth, length and spacing in feet against h in inches.
    const double toStationUnits = text::IsEnglish(p.unitSystem) ? kInchesPerFoot : 1.0;
    TiebackSpring spring;
    const double stations = toStationUnits * t.depth / p.h;
    if (!std::isfinite(stations) || std::abs(stations) > kStationPositions) throw TooMuchData();
    spring.station = static_cast<int>(std::lround(stations));
    const double radians = t.angle * kPi / 180.0;
    const double denominator =
        (toStationUnits * t.spacing / p.Wa) * (toStationUnits * t.unbondedLength);
    if (!(t.spacing > 0.0) || !(t.unbondedLength > 0.0) || !(p.Wa > 0.0) ||
        !std::isfinite(denominator)) {
        throw DataError(
            "     ERROR STOP -- TIEBACK SPACING, UNBONDED LENGTH AND WALL WIDTH MUST BE POSITIVE");
    }
    spring.stiffness = t.steelArea * t.steelModulus * std::cos(radians) / denominator;
    return spring;
}

namespace {

void WriteStationHeading(std::ostream& r, const text::UnitLabels& u, bool echo) {
    if (!echo) {
        WriteEmptyTable(r);
        return;
    }
    WriteBanner(r, "*        STIFFNESS AND LOAD DATA                 *", 2, 0);
    r << "      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,\n"
      << "      S - STIFFNESS OF TRANSVERSE RESISTANCE,\n"
      << "      T - TORQUE,              P - AXIAL LOAD,\n"
      << "      R - STIFFNESS OF TORSIONAL RESISTANCE.\n\n"
      << "     FROM TO CONTD     EI         Q        S'        T         R         P\n\n"
      << text::FormatLayout(
             "(18X, A4, A1, A2, A2, A1, 4X, A4, 4X, A4, A1, A2, 3X, A3, A1, A3, 2X, A3, A1, "
             "A3, 4X, A4)",
             {u.forceLong, "-", u.lengthShort, "**", "2", u.forceLong, u.forceLong, "/",
              u.lengthShort, u.lengthLong, "-", u.forceShort, u.lengthLong, "-", u.forceShort,
              u.forceLong});
}

// The station tables' common reading state: rows go to `target` and their
// echo to `echoTo`, both discarded for a wall without stiffness rows.
struct StationReading {
    text::RecordReader& in;
    const Problem& p;
    Problem& target;
    std::ostream& echoTo;

    // The EI the stiffness rows gave `station`, echoed beside loads and springs.
    double HeldStiffness(int station) const {
        CheckStorage(station);
        return target.F[StationIndex(station)];
    }
};

// Stations from-to of a support row, for the first and last support depths.
struct SupportCover {
    int from, to;
};

void ReadStiffnessRows(StationReading& at) {
    StationTable stiffness({true, false, false, false, false, false});
    for (int row = 0; row < at.p.nStiffness; ++row) {
        at.in.BeginRecord("STIFFNESS");
        StationRow s;
        s.from = at.in.ReadInt();
        s.to = at.in.ReadInt();
        s.contd = at.in.ReadInt();
        s.values[kEI] = s.echo[kEI] = at.in.ReadReal();
        stiffness.Add(s, at.target, at.echoTo);
    }
}

void ReadLoadRows(StationReading& at) {
    StationTable loads({false, true, false, true, false, true});
    const int nLoads = ReadCount(at.in, "CONCLOADS");
    for (int row = 0; row < nLoads; ++row) {
        at.in.BeginRecord("CONCLOADS");
        StationRow s;
        s.contd = at.in.ReadInt();
        s.from = at.in.ReadInt();
        s.to = at.in.ReadInt();
        const double q = at.in.ReadReal();
        const double t = at.in.ReadReal();
        const double axial = at.in.ReadReal();
        s.echo = {at.HeldStiffness(s.from), q, 0.0, t, 0.0, axial};
        s.values = {0.0, q, 0.0, t, 0.0, -axial};
        if (t != 0.0) {
            if (at.target.concentratedMoments.size() >= kMaxCouples) throw TooMuchData();
            at.target.concentratedMoments.push_back({s.from, t / at.p.twoH});
        }
        loads.Add(s, at.target, at.echoTo);
    }
}

// The SPRINGS rows, then each tieback as the spring it is equivalent to;
// returns their row count and adds their stations to `supports`.
int ReadSupportRows(StationReading& at, std::vector<SupportCover>& supports) {
    StationTable springs({false, false, true, false, true, false});
    const int nSprings = ReadCount(at.in, "SPRINGS");
    for (int row = 0; row < nSprings; ++row) {
        at.in.BeginRecord("SPRINGS");
        StationRow s;
        s.from = at.in.ReadInt();
        s.to = at.in.ReadInt();
        s.contd = at.in.ReadInt();
        const double stiffnessS = at.in.ReadReal();
        const double rotational = at.in.ReadReal();
        s.echo = {at.HeldStiffness(s.from), 0.0, stiffnessS, 0.0, rotational, 0.0};
        s.values = {0.0, 0.0, stiffnessS, 0.0, rotational, 0.0};
        springs.Add(s, at.target, at.echoTo);
        supports.push_back({s.from, s.to});
    }
    for (int row = 0; row < at.p.nTiebacks; ++row) {
        at.in.BeginRecord("TIEBACK");
        Tieback t;
        t.depth = at.in.ReadReal();
        t.steelArea = at.in.ReadReal();
        t.steelModulus = at.in.ReadReal();
        t.unbondedLength = at.in.ReadReal();
        t.angle = at.in.ReadReal();
        t.spacing = at.in.ReadReal();
        const TiebackSpring spring = TiebackToSpring(t, at.p);
        StationRow s;
        s.from = s.to = spring.station;
        s.contd = 1;
        s.echo = {at.HeldStiffness(s.from), 0.0, spring.stiffness, 0.0, 0.0, 0.0};
        s.values = {0.0, 0.0, spring.stiffness, 0.0, 0.0, 0.0};
        springs.Add(s, at.target, at.echoTo);
        supports.push_back({s.from, s.to});
    }
    return nSprings;
}

// What the soil models read of the supports: their count and the depths of
// the first and last support when each sits on one station.
void RecordSupports(Problem& p, int nSprings, const std::vector<SupportCover>& supports) {
    soil::SoilProblem& s = p.soil;
    s.supportCount = nSprings + p.nTiebacks;
    s.tiebackCount = p.nTiebacks;
    if (supports.empty()) return;
    if (supports.front().from == supports.front().to) {
        s.hasFirstSupportDepth = true;
        s.firstSupportDepth = supports.front().from * p.h;
    }
    if (supports.back().from == supports.back().to) {
        s.hasLastSupportDepth = true;
        s.lastSupportDepth = supports.back().from * p.h;
    }
}

}  // namespace

void ReadStationData(InputContext& ctx, Problem& p) {
    const bool echo = p.nStiffness > 0;
    WriteStationHeading(ctx.report, ctx.labels, echo);
    for (StationArray* a : {&p.F, &p.Q, &p.S, &p.T, &p.R, &p.P}) a->fill(0.0);

    // Without stiffness rows the wall has no station data: the remaining
    // tables are read to stay in step with the file, but not applied.
    std::ostringstream discard;
    Problem scratch;
    StationReading at{ctx.in, p, echo ? p : scratch,
                      echo ? ctx.report : static_cast<std::ostream&>(discard)};
    ReadStiffnessRows(at);
    ReadLoadRows(at);
    std::vector<SupportCover> supports;
    const int nSprings = ReadSupportRows(at, supports);
    RecordSupports(p, nSprings, supports);
}

void ReadPYMod(InputContext& ctx, Problem& p) {
    if (p.nPYMod > kMaxPYMods) throw TooMuchData();
    for (int row = 0; row < p.nPYMod; ++row) {
        ctx.in.BeginRecord("PYMOD");
        soil::PYModification m;
        m.depth = ctx.in.ReadReal();
        m.pMultiplier = ctx.in.ReadReal();
        m.yMultiplier = ctx.in.ReadReal();
        p.soil.pyMods.push_back(m);
    }
}

void CheckNoDataBeyondEnd(const Problem& p) {
    const int j1 = StationIndex(p.N + 1);
    const int j2 = StationIndex(p.N + 2);
    const double sum = p.F[j1] + p.F[j2] + p.Q[j1] + p.S[j1] + p.T[j1] + p.T[j2] + p.R[j1] +
                       p.R[j2] + p.P[j1] + p.P[j2];
    if (sum != 0.0) throw DataError("     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END");
}

void ReadEICurves(InputContext& ctx, Problem& p) {
    if (p.nEICurves > kMaxEICurves) throw TooMuchData();
    for (int c = 0; c < p.nEICurves; ++c) {
        ctx.in.BeginRecord("EICURVE");
        MEICurve curve;
        curve.fromStation = ctx.in.ReadInt();
        curve.toStation = ctx.in.ReadInt();
        const int count = ctx.in.ReadInt();
        if (count > kMaxEIPoints) throw TooMuchData();
        if (count < 2) {
            throw DataError("     ERROR STOP -- MOMENT-EI CURVE WITH FEWER THAN TWO POINTS");
        }
        if (curve.fromStation < 0 || curve.toStation > p.N) {
            throw DataError("     ERROR STOP -- MOMENT-EI CURVE STATIONS OUTSIDE THE WALL");
        }
        for (int m = 0; m < count; ++m) {
            ctx.in.BeginRecord("EIPOINT");
            MEIPoint point;
            point.moment = ctx.in.ReadReal();
            point.stiffness = ctx.in.ReadReal();
            curve.points.push_back(point);
        }
        p.eiCurves.push_back(std::move(curve));
    }
}

}  // namespace korvel::engine
