// The wall length study: variants against data files edited by hand, a study
// against ordinary runs of those files, the critical length of a cantilever in
// sand, the JSON document and bad usage.
#include "length_study.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch_run.h"
#include "length_variant.h"

namespace korvel::cli {
namespace {

namespace fs = std::filesystem;

std::string Crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "korvel-lengthtest-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// A small English problem with every station-based table: a restraint at the
// head and a slope restraint at the toe, a stiffness chain 0 -> 10 -> 20, a load
// at the toe, springs from 15 to the toe, a tieback at 15 ft, a user pressure
// profile down to the toe, p-y sets at 10 and at the toe, a moment-EI range
// over the whole wall. 20 increments of 12 in: 240 in.
const std::string kRulesFile = Crlf({"Length rules",
                                     "1 2\t3\t0\t1\t1 2 1 1 1",
                                     "20 12\t10\t1E-5\t120\t12",
                                     "1\t0\t0\t0",
                                     "2\t20\t0\t0",
                                     "0\t0\t2\t1E9",
                                     "10\t10\t2\t2E9",
                                     "10\t20\t1\t3E9",
                                     "2",
                                     "1\t20\t20\t500\t0\t0",
                                     "1\t5\t5\t-100\t0\t0",
                                     "1",
                                     "15\t20\t1\t1000\t0",
                                     "15\t2\t30000000\t10\t0\t8",
                                     "3",
                                     "0\t0",
                                     "120\t50",
                                     "240\t50",
                                     "10\t3\t1\t1",
                                     "-1\t100",
                                     "0\t0",
                                     "1\t-100",
                                     "20\t3\t1\t1",
                                     "-1\t200",
                                     "0\t0",
                                     "1\t-200",
                                     "0\t20\t2",
                                     "100000\t3E9",
                                     "1000000\t2E9",
                                     "0"});

TEST(LengthVariant, ShorterWallClipsEveryTable) {
    TempFolder folder;
    const fs::path file = folder.path() / "rules.kv5d";
    WriteFile(file, kRulesFile);
    LengthVariantBuilder builder(file.string());
    const LengthVariant v = builder.Build(168.0, 300.0);
    // 14 increments: the toe restraint and the toe load move to 14; the chain
    // ends at 14 with 2E9 + 0.4 (3E9 - 2E9); the springs from 15 and the tieback
    // at station 15 lie below the toe; the pressure is cut at 14 ft; the set at
    // the old toe comes up to 14; the moment-EI range ends at 14.
    EXPECT_EQ(v.text, Crlf({"Length rules",
                            "1 2\t3\t0\t1\t1 2 1 1 0",
                            "14 12\t10\t1E-5\t120\t12",
                            "1\t0\t0\t0",
                            "2\t14\t0\t0",
                            "0\t0\t2\t1E9",
                            "10\t10\t2\t2E9",
                            "10\t14\t1\t2.4E9",
                            "2",
                            "1\t14\t14\t500\t0\t0",
                            "1\t5\t5\t-100\t0\t0",
                            "0",
                            "3",
                            "0\t0",
                            "120\t50",
                            "168\t50",
                            "10\t3\t1\t1",
                            "-1\t100",
                            "0\t0",
                            "1\t-100",
                            "14\t3\t1\t1",
                            "-1\t200",
                            "0\t0",
                            "1\t-200",
                            "0\t14\t2",
                            "100000\t3E9",
                            "1000000\t2E9",
                            "0"}));
    ASSERT_EQ(v.sections.size(), 1u);
    EXPECT_TRUE(v.sections[0].tiebacks.empty());
    EXPECT_DOUBLE_EQ(v.sections[0].outline.wallLength(), 168.0);
}

TEST(LengthVariant, LongerWallExtendsFromTheLastRow) {
    TempFolder folder;
    const fs::path file = folder.path() / "rules.kv5d";
    WriteFile(file, kRulesFile);
    LengthVariantBuilder builder(file.string());
    const LengthVariant v = builder.Build(300.0, 300.0);
    // 25 increments: the chain goes on at 3E9 to 25, the springs reach 25, the
    // pressure goes on at 50 to 300 in, the set at the toe is copied to 25.
    EXPECT_EQ(v.text, Crlf({"Length rules",
                            "1 2\t4\t0\t1\t1 3 1 1 1",
                            "25 12\t10\t1E-5\t120\t12",
                            "1\t0\t0\t0",
                            "2\t25\t0\t0",
                            "0\t0\t2\t1E9",
                            "10\t10\t2\t2E9",
                            "10\t20\t1\t3E9",
                            "20\t25\t1\t3E9",
                            "2",
                            "1\t25\t25\t500\t0\t0",
                            "1\t5\t5\t-100\t0\t0",
                            "1",
                            "15\t25\t1\t1000\t0",
                            "15\t2\t30000000\t10\t0\t8",
                            "4",
                            "0\t0",
                            "120\t50",
                            "240\t50",
                            "300\t50",
                            "10\t3\t1\t1",
                            "-1\t100",
                            "0\t0",
                            "1\t-100",
                            "20\t3\t1\t1",
                            "-1\t200",
                            "0\t0",
                            "1\t-200",
                            "25\t3\t1\t1",
                            "-1\t200",
                            "0\t0",
                            "1\t-200",
                            "0\t25\t2",
                            "100000\t3E9",
                            "1000000\t2E9",
                            "0"}));
    // The tieback at 15 ft: station 15, A E cos 0 / ((12 s / Wa) 12 L) =
    // 2 x 3E7 / (8 x 120) = 62500 lbs/in.
    ASSERT_EQ(v.sections.at(0).tiebacks.size(), 1u);
    EXPECT_EQ(v.sections[0].tiebacks[0].station, 15);
    EXPECT_NEAR(v.sections[0].tiebacks[0].stiffness, 62500.0, 1e-6);
    EXPECT_TRUE(v.notes.empty());
}

TEST(LengthVariant, LengthBetweenIncrementsIsRoundedAndSaid) {
    TempFolder folder;
    const fs::path file = folder.path() / "rules.kv5d";
    WriteFile(file, kRulesFile);
    LengthVariantBuilder builder(file.string());
    const LengthVariant v = builder.Build(170.0, 300.0);
    EXPECT_EQ(v.sections.at(0).outline.increments, 14);
    ASSERT_EQ(v.notes.size(), 2u);
    EXPECT_EQ(v.notes[0], "length 170 rounded to 14 increments of 12 = 168");
    EXPECT_NE(v.notes[1].find("tieback"), std::string::npos);
    // The unchanged length gives the file back as it was.
    EXPECT_EQ(builder.Build(240.0, 300.0).text, kRulesFile);
}

TEST(LengthVariant, SoilReachesBelowTheLongestWall) {
    TempFolder folder;
    const fs::path file = folder.path() / "sand.kv5d";
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "sand_cantilever_py_english.kv5d", file);
    LengthVariantBuilder builder(file.string());
    // The sand ends 480 in below the top; a 600 in wall needs curves to 600 + 2 x 6.
    const LengthVariant v = builder.Build(360.0, 600.0);
    EXPECT_NE(v.text.find("\r\n4 612 \r\n"), std::string::npos);
    ASSERT_EQ(v.notes.size(), 1u);
    EXPECT_EQ(v.notes[0],
              "last soil layer extended from 480 to 612 below the top, as deep as the p-y curves "
              "of the longest wall reach");
}

TEST(LengthVariant, EveryStageIsStudied) {
    TempFolder folder;
    const fs::path file = folder.path() / "stages.kv5d";
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "three_stages_english.kv5d", file);
    LengthVariantBuilder builder(file.string());
    ASSERT_EQ(builder.Sections().size(), 3u);
    const LengthVariant v = builder.Build(420.0, 420.0);
    ASSERT_EQ(v.sections.size(), 3u);
    for (const VariantSection& s : v.sections) EXPECT_EQ(s.outline.increments, 70);
    // Each stage keeps its own excavation; the stage titles stay.
    EXPECT_LT(v.sections[0].outline.freeHeight, v.sections[2].outline.freeHeight);
    EXPECT_NE(v.text.find(" Stage No : 3"), std::string::npos);
}

TEST(LengthVariant, EveryExampleAtItsOwnLengthIsUnchanged) {
    for (const auto& entry : fs::directory_iterator(KORVEL_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".kv5d") continue;
        LengthVariantBuilder builder(entry.path().string());
        const double length = builder.Sections().at(0).wallLength();
        const LengthVariant v = builder.Build(length, length);
        EXPECT_EQ(v.text, ReadFile(entry.path())) << entry.path();
        EXPECT_TRUE(v.notes.empty()) << entry.path() << ": " << v.notes.front();
    }
}

// --- The study through korvel-run -------------------------------------------

struct RunOutput {
    int code = -1;
    std::string out;
};

RunOutput KorvelRun(const std::string& arguments) {
    TempFolder folder;
    const fs::path out = folder.path() / "out.txt";
    const std::string command = std::string(KORVEL_RUN_EXE) + " --engine " + KORVEL_ENGINE_LIBRARY +
                                " " + arguments + " >" + out.string() + " 2>&1";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out)};
}

// The number after "key": at or after `from` in a JSON text.
double Field(const std::string& json, size_t from, const std::string& key) {
    const size_t at = json.find("\"" + key + "\": ", from);
    EXPECT_NE(at, std::string::npos) << key;
    return at == std::string::npos ? NAN : std::atof(json.c_str() + at + key.size() + 4);
}

size_t RowAt(const std::string& json, const std::string& length) {
    const size_t at = json.find("{\"length\": " + length + ",");
    EXPECT_NE(at, std::string::npos) << length;
    return at;
}

TEST(LengthStudy, RowsEqualTheVariantsEditedByHand) {
    TempFolder folder;
    const std::string original =
        ReadFile(fs::path(KORVEL_EXAMPLES_DIR) / "cantilever_english.kv5d");
    // 56 increments (336 in): the stiffness row and the pressure cut at the toe,
    // the curve set at the old toe (60) moved up to it.
    std::string shorter = Replace(original, "60 6\t", "56 6\t");
    shorter = Replace(shorter, "0\t60\t1\t", "0\t56\t1\t");
    shorter = Replace(shorter, "360\t43.75", "336\t43.75");
    shorter = Replace(shorter, "\r\n60\t7\t1\t1", "\r\n56\t7\t1\t1");
    // 68 increments (408 in): the pressure continued to the toe and the set at the
    // old toe copied to the new one.
    std::string longer = Replace(original, "60 6\t", "68 6\t");
    longer = Replace(longer, "1 4 1 0 0", "1 5 1 0 0");
    longer = Replace(longer, "0\t60\t1\t", "0\t68\t1\t");
    longer = Replace(longer, "3\r\n0\t0\r\n180\t43.75\r\n360\t43.75",
                     "4\r\n0\t0\r\n180\t43.75\r\n360\t43.75\r\n408\t43.75");
    const size_t set60 = longer.find("\r\n60\t7\t1\t1") + 2;
    const std::string lastSet = longer.substr(set60, longer.rfind("0\r\n") - set60);
    longer.insert(longer.rfind("0\r\n"), Replace(lastSet, "60\t7", "68\t7"));

    const fs::path data = folder.path() / "cantilever.kv5d";
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "cantilever_english.kv5d", data);
    const fs::path json = folder.path() / "study.json";
    const RunOutput run =
        KorvelRun("--lengths 336:408:72 -j 2 --json " + json.string() + " " + data.string());
    ASSERT_EQ(run.code, 0) << run.out;
    const std::string study = ReadFile(json);

    const std::pair<std::string, std::string> cases[] = {{"336", shorter}, {"408", longer}};
    for (const auto& [length, text] : cases) {
        const fs::path byHand = folder.path() / ("hand" + length + ".kv5d");
        WriteFile(byHand, text);
        LengthVariantBuilder builder(data.string());
        EXPECT_EQ(builder.Build(std::stod(length), 408.0).text, text) << length;
        const RunResult plain = AnalyseFile(byHand, KORVEL_ENGINE_LIBRARY);
        ASSERT_EQ(plain.status, RunStatus::Analysed) << plain.message;
        std::ifstream report(plain.reportFile);
        const std::vector<SectionSummary> sums = SummariseReport(report);
        ASSERT_EQ(sums.size(), 1u);
        const size_t row = RowAt(study, length);
        EXPECT_DOUBLE_EQ(Field(study, row, "head_deflection"), sums[0].deflections.front());
        EXPECT_DOUBLE_EQ(Field(study, row, "toe_deflection"), sums[0].deflections.back());
        EXPECT_DOUBLE_EQ(Field(study, row, "iterations"), sums[0].iterations);
        const size_t moment = study.find("\"max_moment\"", row);
        EXPECT_DOUBLE_EQ(Field(study, moment, "value"), sums[0].moment.value);
        EXPECT_DOUBLE_EQ(Field(study, moment, "depth"), sums[0].moment.depth);
        const size_t shear = study.find("\"max_shear\"", row);
        EXPECT_DOUBLE_EQ(Field(study, shear, "value"), sums[0].shear.value);
        EXPECT_DOUBLE_EQ(Field(study, row, "embedment"), std::stod(length) - 180.0);
    }
    // Nothing is left behind but the JSON asked for.
    EXPECT_FALSE(fs::exists(folder.path() / "cantilever.kv5o"));
}

TEST(LengthStudy, CantileverInSandLevelsOff) {
    TempFolder folder;
    const fs::path json = folder.path() / "study.json";
    const RunOutput run =
        KorvelRun("--lengths 240:480:24 -j 2 --json " + json.string() + " " +
                  (fs::path(KORVEL_EXAMPLES_DIR) / "cantilever_english.kv5d").string());
    ASSERT_EQ(run.code, 0) << run.out;
    const std::string study = ReadFile(json);
    // 240 in (5 ft of embedment under a 15 ft cut) is far too short: the toe
    // kicks out beyond the allowed 10 in and the row is marked.
    EXPECT_NE(study.find("{\"length\": 240, \"requested_length\": 240, \"status\": "
                         "\"max deflection exceeded\", \"usable\": false"),
              std::string::npos);
    // The head deflection falls as the wall lengthens and levels off.
    std::vector<double> head;
    for (int length = 264; length <= 480; length += 24)
        head.push_back(Field(study, RowAt(study, std::to_string(length)), "head_deflection"));
    for (size_t i = 1; i < head.size(); ++i) EXPECT_LE(head[i], head[i - 1]) << i;
    EXPECT_NEAR(head.back(), head[head.size() - 2], 0.01 * head.back());
    // By the report's values: 1.96 in at 312 in and 1.87 at 336 (4.6 %), then
    // 1.86 at 360 (0.5 %) and at most 0.5 % on; the moment moves by under 0.3 %
    // from 336 on. So the wall stops changing at 336 in: 156 in of embedment
    // under the 180 in cut, a little under the cut depth, as for a cantilever in
    // medium dense sand.
    EXPECT_NE(study.find("\"critical_length\": 336,\n"), std::string::npos) << study;
    EXPECT_NE(run.out.find("critical length: 336 IN (embedment 156 IN)"), std::string::npos)
        << run.out;
    // A tolerance of 5 % takes the first length whose next step moves less: 312.
    const RunOutput loose =
        KorvelRun("--lengths 240:480:24 --tolerance 5 " +
                  (fs::path(KORVEL_EXAMPLES_DIR) / "cantilever_english.kv5d").string());
    EXPECT_NE(loose.out.find("critical length: 312 IN"), std::string::npos) << loose.out;
}

TEST(LengthStudy, JsonShape) {
    TempFolder folder;
    const RunOutput run = KorvelRun("--lengths 9:10:1 --json - " +
                                    (fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d").string());
    ASSERT_EQ(run.code, 0) << run.out;
    const std::string json = run.out.substr(run.out.find("{\n"));
    EXPECT_EQ(json.rfind("{\n  \"tolerance_percent\": 1,\n  \"rows\": [\n    {\"length\": 9, ", 0),
              0u)
        << json;
    for (const char* key :
         {"\"requested_length\": 9", "\"status\": \"closed\"", "\"usable\": true",
          "\"sections\": [\n      {\"iterations\": ", "\"max_moment\": {\"value\": ",
          "\"head_deflection\": ", "\"toe_deflection\": ", "\"embedment\": 3,",
          "\"tieback_forces\": [", "\n  ],\n  \"notes\": [", "],\n  \"critical_length\": ",
          ",\n  \"schema\": \"korvel-run length study\",\n  \"schema_version\": 1\n}"}) {
        EXPECT_NE(json.find(key), std::string::npos) << key;
    }
    // One tieback: its force is its spring times the deflection at its station,
    // 1.6 m down (station 8); positive while the wall moves towards the cut.
    const size_t list = json.find("\"tieback_forces\": [") + 19;
    EXPECT_GT(std::atof(json.c_str() + list), 0.0);
    EXPECT_EQ(json.substr(json.size() - 2), "}\n");
}

// With --json - standard output carries the JSON alone; the table goes to
// standard error.
TEST(LengthStudy, JsonAloneOnStandardOutput) {
    TempFolder folder;
    const fs::path out = folder.path() / "out.txt";
    const fs::path err = folder.path() / "err.txt";
    const std::string command = std::string(KORVEL_RUN_EXE) + " --engine " + KORVEL_ENGINE_LIBRARY +
                                " --lengths 9:10:1 --json - " +
                                (fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d").string() +
                                " >" + out.string() + " 2>" + err.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string json = ReadFile(out);
    EXPECT_EQ(json.rfind("{\n  \"tolerance_percent\": 1,", 0), 0u) << json;
    EXPECT_EQ(json.substr(json.size() - 2), "}\n");
    EXPECT_NE(ReadFile(err).find("critical length"), std::string::npos) << ReadFile(err);
}

TEST(LengthStudy, PlotAsPngAndSvg) {
#ifndef KORVEL_HAS_STUDY_PLOT
    GTEST_SKIP() << "korvel-run built without the program's graph painter";
#endif
    TempFolder folder;
    const std::string file = (fs::path(KORVEL_EXAMPLES_DIR) / "cantilever_english.kv5d").string();
    const fs::path png = folder.path() / "study.png";
    const fs::path svg = folder.path() / "study.svg";
    RunOutput run = KorvelRun("--lengths 240:480:24 -j 2 --plot " + png.string() + " " + file);
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_EQ(run.out.find("QStandardPaths"), std::string::npos) << run.out;
    // A PNG signature and a picture of some size: two graphs of 900 x 560 pixels.
    const std::string picture = ReadFile(png);
    ASSERT_GT(picture.size(), 8u);
    EXPECT_EQ(picture.substr(1, 3), "PNG");
    EXPECT_EQ(ReadFile(png).substr(16, 8), std::string("\0\0\x03\x84\0\0\x04\x60", 8));
    run = KorvelRun("--lengths 240:480:24 --plot " + svg.string() + " " + file);
    ASSERT_EQ(run.code, 0) << run.out;
    const std::string drawing = ReadFile(svg);
    EXPECT_NE(drawing.find("<svg"), std::string::npos);
    EXPECT_NE(drawing.find("critical length 336 IN"), std::string::npos);
    EXPECT_NE(drawing.find("Head deflection"), std::string::npos);
    run = KorvelRun("--lengths 240:480:24 --plot " + (folder.path() / "study.gif").string() + " " +
                    file);
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.out.find(".png or .svg"), std::string::npos);
}

TEST(LengthStudy, BadUsageExitsWithTwo) {
    const std::string file = (fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d").string();
    const std::pair<std::string, std::string> cases[] = {
        {"--lengths 12:8:1 " + file, "FROM must be below TO"},
        {"--lengths 8:12:0 " + file, "STEP must be above 0"},
        {"--lengths 8:12:-1 " + file, "STEP must be above 0"},
        {"--lengths 8:1000:1 " + file, "at most 500"},
        {"--lengths 5:12:1 " + file, "a length of 5 is not above the free height 6"},
        {"--lengths 8:12 " + file, "FROM:TO:STEP"},
        {"--lengths 8:70:1 " + file, "at most 300"},
        {"--lengths 8:12:1 --tolerance 0 " + file, "--tolerance"},
        {"--lengths 8:12:1 " + file + " " + file, "one data file"},
        {"--tolerance 2 " + file, "--tolerance and --plot go with --lengths"},
    };
    for (const auto& [arguments, message] : cases) {
        const RunOutput run = KorvelRun(arguments);
        EXPECT_EQ(run.code, 2) << arguments;
        EXPECT_NE(run.out.find(message), std::string::npos) << arguments << "\n" << run.out;
    }
}

TEST(LengthStudy, CriticalLengthNeedsSettledUsableRowsToTheEnd) {
    const auto row = [](double head, double moment, bool usable) {
        StudyRow r;
        r.usable = usable;
        StudySection s;
        s.headDeflection = head;
        s.summary.moment.value = moment;
        r.sections.push_back(s);
        return r;
    };
    // Settles from the third row on.
    std::vector<StudyRow> rows{row(4, 100, true), row(2, 110, true), row(1.9, 115, true),
                               row(1.895, 115.5, true), row(1.894, 115.6, true)};
    EXPECT_EQ(CriticalLengthIndex(rows, 0.01), std::optional<size_t>(2));
    // A marked row before the settled run does not matter; one inside it, or
    // the last row marked, leaves no critical length before it.
    rows[1].usable = false;
    EXPECT_EQ(CriticalLengthIndex(rows, 0.01), std::optional<size_t>(2));
    rows[3].usable = false;
    EXPECT_EQ(CriticalLengthIndex(rows, 0.01), std::nullopt);
    rows[3].usable = true;
    rows[4].usable = false;
    EXPECT_EQ(CriticalLengthIndex(rows, 0.01), std::nullopt);
    rows[4].usable = true;
    // The moment alone moving by 2 % at the end keeps it open.
    rows[4].sections[0].summary.moment.value = 118;
    EXPECT_EQ(CriticalLengthIndex(rows, 0.01), std::nullopt);
    EXPECT_EQ(CriticalLengthIndex({row(1, 1, true)}, 0.01), std::nullopt);
}

}  // namespace
}  // namespace korvel::cli
