// korvel-run for scripts: with --json - standard output carries the JSON alone
// (read back here with Qt's JSON parser), failures and the lines for people go
// to standard error, usage errors are one line pointing to --help, results that
// are not valid exit with 3. Extremes and tieback forces are checked against the
// output report itself (its station rows and its echo of the tieback spring).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "json_writer.h"
#include "scratch_folder.h"

namespace korvel::cli {
namespace {

namespace fs = std::filesystem;
using test_files::ReadAll;
using Scratch = test_files::ScratchFolder;

struct RunOutput {
    int code = -1;
    std::string out, err;
};

// korvel-run with standard output and standard error kept apart.
RunOutput KorvelRun(const std::string& arguments, const fs::path& folder) {
    const fs::path out = folder / "stdout.txt";
    const fs::path err = folder / "stderr.txt";
    const std::string command = std::string("'") + KORVEL_RUN_EXE + "' " + arguments + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    RunOutput r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    return r;
}

QJsonObject Parse(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n"
                                                     << text;
    return doc.object();
}

struct StationRow {
    int station;
    double x, deflection, moment, shear;
};

// The station rows of the first results block, read here on their own.
std::vector<StationRow> ReportRows(const fs::path& report) {
    std::istringstream in(ReadAll(report));
    std::vector<StationRow> rows;
    std::string line;
    bool inRows = false;
    while (std::getline(in, line)) {
        if (line.rfind("   ------", 0) == 0) {
            inRows = true;
            continue;
        }
        if (!inRows) continue;
        std::istringstream r(line);
        StationRow s;
        double slope, p, ei;
        if (!(r >> s.station >> s.x >> s.deflection >> slope >> s.moment >> s.shear >> p >> ei))
            break;
        rows.push_back(s);
    }
    return rows;
}

// The spring stiffness S' the report echoes for a single-station row: FROM TO
// CONTD EI Q S ... (the tieback becomes such a row).
double EchoedSpring(const fs::path& report, int station) {
    std::istringstream in(ReadAll(report));
    std::string line;
    double spring = 0;
    while (std::getline(in, line)) {
        std::istringstream r(line);
        int from, to, contd;
        double ei, q, s;
        if (r >> from >> to >> contd >> ei >> q >> s && from == station && to == station && s > 0)
            spring = s;
        if (line.find("RESULTS -- ITERATION") != std::string::npos) break;
    }
    return spring;
}

TEST(JsonWriter, FullPrecisionNullForNonFiniteAndNesting) {
    JsonWriter json;
    json.BeginObject()
        .Member("third", 1.0 / 3.0)
        .Member("tenth", 0.1)
        .Member("small", -6.43e-11)
        .Member("whole", 350000.0)
        .Member("nan", std::nan(""))
        .Member("text", "a \"b\"\n");
    json.Key("list").BeginArray().Integer(1).Bool(false).Null().EndArray();
    json.Key("empty").BeginObject().EndObject();
    json.EndObject();
    const QJsonObject o = Parse(json.Text());
    EXPECT_EQ(o["third"].toDouble(), 1.0 / 3.0);
    EXPECT_EQ(o["tenth"].toDouble(), 0.1);
    EXPECT_EQ(o["small"].toDouble(), -6.43e-11);
    EXPECT_NE(json.Text().find("\"whole\": 350000,"), std::string::npos) << json.Text();
    EXPECT_TRUE(o["nan"].isNull());
    EXPECT_EQ(o["text"].toString().toStdString(), "a \"b\"\n");
    EXPECT_EQ(o["list"].toArray().size(), 3);
    EXPECT_TRUE(o["empty"].toObject().isEmpty());
    EXPECT_EQ(JsonNumber(1.86), "1.86");
    EXPECT_EQ(JsonNumber(-0.0), "0");
}

TEST(KorvelRun, JsonAloneOnStandardOutput) {
    Scratch scratch;
    const fs::path data = scratch.Example("tiedback_si.kv5d");
    const RunOutput run = KorvelRun("--json - '" + data.string() + "'", scratch.path());
    ASSERT_EQ(run.code, 0) << run.err;
    const QJsonObject doc = Parse(run.out);
    // The lines for people went to standard error.
    EXPECT_NE(run.err.find(": analysed, 1 section(s)"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("analysed, 1 section(s)"), std::string::npos);

    EXPECT_EQ(doc["schema"].toString(), QStringLiteral("korvel-run results"));
    EXPECT_EQ(doc["schema_version"].toInt(), 1);
    EXPECT_EQ(doc["files"].toInt(), 1);
    EXPECT_EQ(doc["sections"].toInt(), 1);
    EXPECT_EQ(doc["failures"].toInt(), 0);
    EXPECT_EQ(doc["invalid"].toInt(), 0);
    EXPECT_TRUE(doc["wall_seconds"].isDouble());
    const QJsonObject file = doc["results"].toArray().at(0).toObject();
    EXPECT_EQ(file["file"].toString().toStdString(), data.string());
    EXPECT_EQ(file["status"].toString(), QStringLiteral("analysed"));
    EXPECT_EQ(file["message"].toString(), QString());
    EXPECT_EQ(file["report"].toString().toStdString(),
              (scratch.path() / "tiedback_si.kv5o").string());
    EXPECT_TRUE(file["valid"].toBool());
    const QJsonObject s = file["sections"].toArray().at(0).toObject();
    EXPECT_EQ(s["section"].toInt(), 1);
    EXPECT_GT(s["iterations"].toInt(), 0);
    EXPECT_TRUE(s["closed"].toBool());
    EXPECT_FALSE(s["off_curves"].toBool());
    EXPECT_EQ(s["exceeded_stations"].toInt(), 0);
    EXPECT_TRUE(s["valid"].toBool());
    EXPECT_EQ(s["problems"].toString(), QString());
    const QJsonObject units = s["units"].toObject();
    EXPECT_EQ(units["length"].toString(), QStringLiteral("M"));
    EXPECT_EQ(units["deflection"].toString(), QStringLiteral("M"));
    EXPECT_EQ(units["moment"].toString(), QStringLiteral("KN-M"));  // no stray blank
    EXPECT_EQ(units["force"].toString(), QStringLiteral("KN"));
    EXPECT_EQ(s["moment_unit"].toString(), QStringLiteral("KN-M"));

    // Both extremes, against the report's own rows.
    const std::vector<StationRow> rows = ReportRows(scratch.path() / "tiedback_si.kv5o");
    ASSERT_GT(rows.size(), 10u);
    const auto check = [&](const char* name, double StationRow::*member) {
        SCOPED_TRACE(name);
        StationRow hi = rows[0], lo = rows[0];
        for (const StationRow& r : rows) {
            if (r.*member > hi.*member) hi = r;
            if (r.*member < lo.*member) lo = r;
        }
        const QJsonObject q = s[name].toObject();
        EXPECT_EQ(q["max"].toObject()["value"].toDouble(), hi.*member);
        EXPECT_EQ(q["max"].toObject()["depth"].toDouble(), hi.x);
        EXPECT_EQ(q["min"].toObject()["value"].toDouble(), lo.*member);
        EXPECT_EQ(q["min"].toObject()["depth"].toDouble(), lo.x);
    };
    check("deflection", &StationRow::deflection);
    check("moment", &StationRow::moment);
    check("shear", &StationRow::shear);
    // A tied-back wall bends both ways.
    EXPECT_GT(s["moment"].toObject()["max"].toObject()["value"].toDouble(), 0);
    EXPECT_LT(s["moment"].toObject()["min"].toObject()["value"].toDouble(), 0);

    // The tieback 1.6 m down on 0.2 m increments acts at station 8 with the
    // spring the report echoes; its force is that spring times the deflection.
    const QJsonArray tiebacks = s["tiebacks"].toArray();
    ASSERT_EQ(tiebacks.size(), 1);
    const QJsonObject t = tiebacks.at(0).toObject();
    EXPECT_EQ(t["tieback"].toInt(), 1);
    EXPECT_EQ(t["station"].toInt(), 8);
    EXPECT_NEAR(t["depth"].toDouble(), 1.6, 1e-12);
    const double spring = EchoedSpring(scratch.path() / "tiedback_si.kv5o", 8);
    ASSERT_GT(spring, 0);
    EXPECT_EQ(t["deflection"].toDouble(), rows[8].deflection);
    // The echo prints three significant digits.
    EXPECT_NEAR(t["force_on_wall"].toDouble(), spring * rows[8].deflection,
                std::abs(spring * rows[8].deflection) * 6e-3);
    // One anchor every 2.5 m carries the share s / Wa of the force along its 15 degree rod.
    EXPECT_GT(std::abs(t["force_per_anchor"].toDouble()), std::abs(t["force_on_wall"].toDouble()));
}

TEST(KorvelRun, ResultsBeyondTheAllowedDeflectionExitWithThree) {
    Scratch scratch;
    const fs::path data = scratch.Example("tiedback_si.kv5d");
    // The maximum allowable deflection of 0.3 m becomes 1 mm.
    std::string text = ReadAll(data);
    const size_t at = text.find("50 0.2\t0.3\t1E-5");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 15, "50 0.2\t0.001\t1E-5");
    std::ofstream(data, std::ios::binary) << text;
    const RunOutput run = KorvelRun("--json - '" + data.string() + "'", scratch.path());
    EXPECT_EQ(run.code, 3) << run.err;
    const QJsonObject doc = Parse(run.out);
    EXPECT_EQ(doc["invalid"].toInt(), 1);
    EXPECT_EQ(doc["failures"].toInt(), 0);
    const QJsonObject file = doc["results"].toArray().at(0).toObject();
    EXPECT_EQ(file["status"].toString(), QStringLiteral("analysed"));
    EXPECT_FALSE(file["valid"].toBool());
    const QJsonObject s = file["sections"].toArray().at(0).toObject();
    EXPECT_FALSE(s["valid"].toBool());
    EXPECT_GT(s["exceeded_stations"].toInt(), 0);
    EXPECT_NE(s["problems"].toString().indexOf("maximum allowable deflection exceeded"), -1);
    const size_t line = run.err.find("the results of section 1 are not valid: ");
    ASSERT_NE(line, std::string::npos) << run.err;
    EXPECT_NE(run.err.find("maximum allowable deflection exceeded at ", line), std::string::npos)
        << run.err;
    // Without --json the summary stays on standard output; the code is the same.
    const RunOutput plain = KorvelRun("'" + data.string() + "'", scratch.path());
    EXPECT_EQ(plain.code, 3);
    EXPECT_NE(plain.out.find("section 1: "), std::string::npos);
    EXPECT_EQ(plain.out.find("not valid"), std::string::npos);
}

TEST(KorvelRun, FailuresGoToStandardError) {
    Scratch scratch;
    const RunOutput run = KorvelRun("--json - /nonexistent/wall.kv5d", scratch.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("/nonexistent/wall.kv5d: not analysed: no such data file"),
              std::string::npos)
        << run.err;
    const QJsonObject doc = Parse(run.out);
    EXPECT_EQ(doc["failures"].toInt(), 1);
    EXPECT_EQ(doc["results"].toArray().at(0).toObject()["status"].toString(),
              QStringLiteral("failed"));
    const RunOutput plain = KorvelRun("/nonexistent/wall.kv5d", scratch.path());
    EXPECT_EQ(plain.out, "");
    EXPECT_NE(plain.err.find("not analysed"), std::string::npos);
}

TEST(KorvelRun, UsageErrorsAreOneLinePointingToHelp) {
    Scratch scratch;
    const fs::path data = scratch.Example("cantilever_english.kv5d");
    const std::string file = "'" + data.string() + "'";
    const struct {
        std::string arguments;
        std::string says;
    } cases[] = {
        {"--paper a4 " + file, "--paper goes with --pdf"},
        {"-", "a data file cannot be read from standard input (\"-\")"},
        {"-- -", "a data file cannot be read from standard input (\"-\")"},
        {"--bogus " + file, "unknown option --bogus"},
        {"", "no data file given"},
        {"--json", "--json needs a file name"},
        {"-j 0 " + file, "-j needs a number from 1 to 256"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const RunOutput run = KorvelRun(c.arguments, scratch.path());
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "korvel-run: " + c.says + " (korvel-run --help tells the usage)\n");
    }
    // "--" ends the options: what follows is a file, here a missing one.
    const RunOutput ended = KorvelRun("-- --lengths", scratch.path());
    EXPECT_EQ(ended.code, 1);
    EXPECT_NE(ended.err.find("--lengths: not analysed: no such data file"), std::string::npos)
        << ended.err;
    EXPECT_EQ(KorvelRun("-- " + file, scratch.path()).code, 0);
}

}  // namespace
}  // namespace korvel::cli
