#include "length_study.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "parallel_batch.h"
#include "report_summary.h"
#ifdef KORVEL_HAS_PROJECT_MODEL
#include "length_variant.h"
#include "project/wall_length_rules.h"
#endif
#ifdef KORVEL_HAS_STUDY_PLOT
#include "length_plot.h"
#endif

namespace korvel::cli {
namespace {

std::string Fixed(double v, int width, int digits = 4) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%*.*g", width, digits, v);
    return buffer;
}

std::string Pad(const std::string& s, size_t width) {
    return s.size() >= width ? s + ' ' : s + std::string(width - s.size(), ' ');
}

// How a section's iteration ended, in the words of the one-line summaries.
std::string Ending(const SectionSummary& s) {
    std::string ending;
    if (s.exceededStations > 0)
        ending = "max deflection exceeded";
    else
        ending = s.closed ? "closed" : "not closed";
    if (s.offCurves) ending += ", off curves";
    return ending;
}

// Change from a to b relative to a; 0 when both are 0.
double RelativeChange(double a, double b) {
    if (a == b) return 0.0;
    if (a == 0.0) return INFINITY;
    return std::abs(b - a) / std::abs(a);
}

bool Settled(const StudyRow& a, const StudyRow& b, double tolerance) {
    if (!a.usable || !b.usable || a.sections.size() != b.sections.size()) return false;
    for (size_t k = 0; k < a.sections.size(); ++k) {
        const StudySection& x = a.sections[k];
        const StudySection& y = b.sections[k];
        if (RelativeChange(x.headDeflection, y.headDeflection) >= tolerance) return false;
        if (RelativeChange(x.summary.moment.value, y.summary.moment.value) >= tolerance)
            return false;
    }
    return true;
}

std::string LengthUnitOf(const std::vector<StudyRow>& rows) {
    for (const StudyRow& r : rows) {
        for (const StudySection& s : r.sections) {
            if (!s.summary.lengthUnit.empty()) return s.summary.lengthUnit;
        }
    }
    return "";
}

}  // namespace

std::optional<size_t> CriticalLengthIndex(const std::vector<StudyRow>& rows, double tolerance) {
    if (rows.size() < 2) return std::nullopt;
    std::optional<size_t> critical;
    for (size_t i = rows.size() - 1; i-- > 0;) {
        if (!Settled(rows[i], rows[i + 1], tolerance)) break;
        critical = i;
    }
    return critical;
}

std::string StudyTable(const std::string& dataFile, const std::vector<StudyRow>& rows,
                       const std::vector<std::string>& notes, std::optional<size_t> critical,
                       double tolerancePercent) {
    std::ostringstream out;
    const std::string L = LengthUnitOf(rows);
    std::string forceUnit, momentUnit;
    for (const StudyRow& r : rows) {
        for (const StudySection& s : r.sections) {
            if (forceUnit.empty()) forceUnit = s.summary.forceUnit;
            if (momentUnit.empty()) momentUnit = s.summary.momentUnit;
        }
    }
    out << "Wall length study of " << dataFile << ": " << rows.size() << " lengths";
    if (!rows.empty()) {
        out << " from " << Fixed(rows.front().requestedLength, 0, 6) << " to "
            << Fixed(rows.back().requestedLength, 0, 6) << ' ' << L;
    }
    out << ", tolerance " << Fixed(tolerancePercent, 0, 6) << " %\n\n";
    const auto R = [](const std::string& text, size_t width) {
        return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
    };
    out << "  " << R("length", 8) << R("embedment", 11) << R("sect", 6) << R("iter", 6) << "  "
        << Pad("ending", 34) << R("head defl", 12) << R("toe defl", 12) << R("max moment", 12)
        << R("at depth", 12) << R("max shear", 12) << R("at depth", 12) << "  tieback forces\n";
    out << "  " << R(L, 8) << R(L, 11) << R("", 12) << "  " << Pad("", 34) << R(L, 12) << R(L, 12)
        << R(momentUnit, 12) << R(L, 12) << R(forceUnit, 12) << R(L, 12) << "  " << forceUnit
        << '\n';
    bool marked = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        const StudyRow& r = rows[i];
        const std::string mark = !r.usable ? "! " : (critical && *critical == i ? "> " : "  ");
        marked = marked || !r.usable;
        if (r.sections.empty()) {
            out << mark << Fixed(r.length, 8, 6) << "  " << r.status << '\n';
            continue;
        }
        for (size_t k = 0; k < r.sections.size(); ++k) {
            const StudySection& s = r.sections[k];
            out << (k == 0 ? mark + Fixed(r.length, 8, 6) : std::string(10, ' '))
                << Fixed(s.embedment, 11, 6) << Fixed(static_cast<double>(k + 1), 6)
                << Fixed(s.summary.iterations, 6) << "  " << Pad(Ending(s.summary), 34)
                << Fixed(s.headDeflection, 12) << Fixed(s.toeDeflection, 12)
                << Fixed(s.summary.moment.value, 12) << Fixed(s.summary.moment.depth, 12, 6)
                << Fixed(s.summary.shear.value, 12) << Fixed(s.summary.shear.depth, 12, 6);
            for (size_t t = 0; t < s.tiebackForces.size(); ++t)
                out << (t == 0 ? "  " : " ") << Fixed(s.tiebackForces[t], 0);
            out << '\n';
        }
        if (r.runStatus != RunStatus::Analysed) out << "          " << r.status << '\n';
    }
    if (marked) {
        out << "\n! not closed, beyond the maximum allowable deflection, off the p-y curves or not"
               " analysed: never the critical length\n";
    }
    if (!notes.empty()) {
        out << "\nnotes:\n";
        for (const std::string& n : notes) out << "  " << n << '\n';
    }
    out << '\n';
    if (critical) {
        out << "critical length: " << Fixed(rows[*critical].length, 0, 6) << ' ' << L
            << " (embedment " << Fixed(rows[*critical].sections.front().embedment, 0, 6) << ' ' << L
            << "): from there on the head deflection and the maximum moment change by less than "
            << Fixed(tolerancePercent, 0, 6) << " % from one length to the next";
        if (rows.front().sections.size() > 1) out << ", in every section";
        out << '\n';
    } else {
        out << "critical length: none; the head deflection and the maximum moment do not settle "
               "within "
            << Fixed(tolerancePercent, 0, 6) << " % up to the longest length studied\n";
    }
    return out.str();
}

std::string StudyJson(const std::vector<StudyRow>& rows, const std::vector<std::string>& notes,
                      std::optional<size_t> critical, double tolerancePercent) {
    std::ostringstream out;
    out << "{\n  \"tolerance_percent\": " << JsonNumber(tolerancePercent) << ",\n  \"rows\": [";
    for (size_t i = 0; i < rows.size(); ++i) {
        const StudyRow& r = rows[i];
        out << (i ? "," : "") << "\n    {\"length\": " << JsonNumber(r.length)
            << ", \"requested_length\": " << JsonNumber(r.requestedLength)
            << ", \"status\": " << JsonString(r.status)
            << ", \"usable\": " << (r.usable ? "true" : "false") << ", \"sections\": [";
        for (size_t k = 0; k < r.sections.size(); ++k) {
            const StudySection& s = r.sections[k];
            out << (k ? "," : "") << "\n      " << SectionJsonFields(s.summary)
                << ", \"embedment\": " << JsonNumber(s.embedment)
                << ", \"head_deflection\": " << JsonNumber(s.headDeflection)
                << ", \"toe_deflection\": " << JsonNumber(s.toeDeflection)
                << ", \"tieback_forces\": [";
            for (size_t t = 0; t < s.tiebackForces.size(); ++t)
                out << (t ? ", " : "") << JsonNumber(s.tiebackForces[t]);
            out << "]}";
        }
        out << (r.sections.empty() ? "]}" : "\n    ]}");
    }
    out << "\n  ],\n  \"notes\": [";
    for (size_t i = 0; i < notes.size(); ++i) out << (i ? ", " : "") << JsonString(notes[i]);
    out << "],\n  \"critical_length\": "
        << (critical ? JsonNumber(rows[*critical].length) : std::string("null"))
        << ",\n  \"schema\": \"korvel-run length study\",\n  \"schema_version\": 1\n}\n";
    return out.str();
}

namespace {

int UsageError(std::ostream& err, const std::string& problem) {
    err << "korvel-run: " << problem << '\n';
    return 2;
}

#ifdef KORVEL_HAS_PROJECT_MODEL
// A private folder for the variants and their reports, removed with everything in it.
class StudyFolder {
  public:
    StudyFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvel-lengths-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a working folder");
        path_ = pattern;
    }
    ~StudyFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

StudyRow RowOf(double requested, const LengthVariant& variant, const RunResult& run) {
    StudyRow row;
    row.requestedLength = requested;
    row.length =
        variant.sections.empty() ? requested : variant.sections.front().outline.wallLength();
    row.runStatus = run.status;
    row.message = run.message;
    // The workers send the maxima only; the deflections come from the report itself.
    std::ifstream report(run.reportFile);
    const std::vector<SectionSummary> summaries = SummariseReport(report);
    for (size_t k = 0; k < summaries.size() && k < variant.sections.size(); ++k) {
        const SectionSummary& sum = summaries[k];
        const VariantSection& v = variant.sections[k];
        StudySection s;
        s.summary = sum;
        s.embedment = v.outline.wallLength() - v.outline.freeHeight;
        if (!sum.deflections.empty()) {
            s.headDeflection = sum.deflections.front();
            s.toeDeflection = sum.deflections.back();
        }
        for (const TiebackSpring& t : v.tiebacks) {
            const size_t station = static_cast<size_t>(std::max(t.station, 0));
            s.tiebackForces.push_back(
                station < sum.deflections.size() ? t.stiffness * sum.deflections[station] : 0.0);
        }
        row.sections.push_back(s);
    }
    std::string problems;
    const auto add = [&](const std::string& p) {
        if (problems.find(p) == std::string::npos) problems += (problems.empty() ? "" : ", ") + p;
    };
    for (const StudySection& s : row.sections) {
        if (!s.summary.closed && s.summary.exceededStations == 0) add("not closed");
        if (s.summary.exceededStations > 0) add("max deflection exceeded");
        if (s.summary.offCurves) add("off curves");
    }
    switch (run.status) {
        case RunStatus::Analysed:
            row.usable = problems.empty() && row.sections.size() == variant.sections.size();
            if (row.sections.size() != variant.sections.size())
                add("sections missing from the report");
            row.status = problems.empty() ? "closed" : problems;
            break;
        case RunStatus::DataError:
            row.status = "data error: " + run.message;
            break;
        case RunStatus::Failed:
            row.status = "not analysed: " + run.message;
            break;
    }
    return row;
}
#endif

}  // namespace

int RunLengthStudy(const LengthStudyOptions& options, std::ostream& out, std::ostream& err) {
    if (options.files.size() != 1) return UsageError(err, "--lengths studies one data file");
#ifndef KORVEL_HAS_PROJECT_MODEL
    (void)out;
    return UsageError(err,
                      "--lengths needs the program's project model to change the wall's length; "
                      "this korvel-run was built without it (KORVEL_BUILD_APP off)");
#else
    const LengthRange range = ParseLengthRange(options.range, kMaxStudyLengths);
    if (!range.error.empty()) return UsageError(err, range.error);
    char* end = nullptr;
    const double tolerancePercent = std::strtod(options.tolerance.c_str(), &end);
    if (options.tolerance.empty() || *end != '\0' || !(tolerancePercent > 0.0) ||
        !(tolerancePercent < 100.0)) {
        return UsageError(err, "--tolerance needs a percentage above 0 and below 100");
    }
    if (!options.plotPath.empty()) {
        const std::string ext = std::filesystem::path(options.plotPath).extension().string();
        if (ext != ".png" && ext != ".svg" && ext != ".PNG" && ext != ".SVG")
            return UsageError(err, "--plot needs a file name ending in .png or .svg");
#ifndef KORVEL_HAS_STUDY_PLOT
        return UsageError(err,
                          "--plot needs the program's graph windows; this korvel-run was "
                          "built without them");
#endif
    }
    const std::string& file = options.files.front();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        err << "korvel-run: " << file << ": no such data file\n";
        return 1;
    }
    try {
        LengthVariantBuilder builder(file);
        // Every length must leave the wall below the excavation in every section,
        // in whole increments the program accepts.
        const std::string unusable =
            CheckStudyLengths(range.lengths, builder.Sections(), kMaxStudyIncrements);
        if (!unusable.empty()) return UsageError(err, unusable);

        StudyFolder folder;
        std::vector<LengthVariant> variants;
        std::vector<std::string> paths;
        std::vector<std::string> notes;
        for (size_t i = 0; i < range.lengths.size(); ++i) {
            variants.push_back(builder.Build(range.lengths[i], range.lengths.back()));
            const std::filesystem::path path =
                folder.path() / ("length" + std::to_string(i + 1) + ".kv5d");
            std::ofstream data(path, std::ios::binary);
            data << variants.back().text;
            if (!data.flush()) throw std::runtime_error("cannot write " + path.string());
            paths.push_back(path.string());
            for (const std::string& n : variants.back().notes) {
                if (std::find(notes.begin(), notes.end(), n) == notes.end()) notes.push_back(n);
            }
        }
        const std::vector<RunResult> runs =
            AnalyseFiles(paths, options.enginePath, options.jobs, nullptr);

        std::vector<StudyRow> rows;
        bool allAnalysed = true;
        for (size_t i = 0; i < runs.size(); ++i) {
            rows.push_back(RowOf(range.lengths[i], variants[i], runs[i]));
            allAnalysed = allAnalysed && runs[i].status == RunStatus::Analysed;
        }
        const std::optional<size_t> critical = CriticalLengthIndex(rows, tolerancePercent / 100.0);
        // With the JSON on standard output the table goes to standard error.
        std::ostream& table = options.jsonPath == "-" ? err : out;
        table << StudyTable(file, rows, notes, critical, tolerancePercent);
        table.flush();
        if (!options.jsonPath.empty()) {
            const std::string json = StudyJson(rows, notes, critical, tolerancePercent);
            if (options.jsonPath == "-") {
                out << json;
            } else {
                std::string error;
                if (!runfiles::WriteOutputFile(options.jsonPath, json, error)) {
                    err << "korvel-run: " << error << '\n';
                    return 1;
                }
            }
        }
#ifdef KORVEL_HAS_STUDY_PLOT
        std::string plotError;
        if (!options.plotPath.empty() &&
            !SaveStudyPlot(options.plotPath, rows, critical, plotError)) {
            err << "korvel-run: " << plotError << '\n';
            return 1;
        }
#endif
        return allAnalysed ? 0 : 1;
    } catch (const std::exception& e) {
        err << "korvel-run: " << file << ": " << e.what() << '\n';
        return 1;
    }
#endif
}

}  // namespace korvel::cli
