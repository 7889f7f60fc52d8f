// korvel-run's design checks end to end: the bundled tied-back example with
// AZ 18 in S355GP by EN 1993-5, its utilisations worked out here by hand
// from the catalogue row, the grade and the maxima of the output report.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "report_summary.h"
#include "scratch_folder.h"

namespace korvel::cli {
namespace {

namespace fs = std::filesystem;

using test_files::ReadAll;

// A folder with tiedback_si.kv5d in it as tied.kv5d.
struct Scratch : test_files::ScratchFolder {
    Scratch() { Example("tiedback_si.kv5d", "tied.kv5d"); }
};

int KorvelRun(const std::string& arguments, const fs::path& output) {
    const std::string command =
        std::string(KORVEL_RUN_EXE) + " " + arguments + " >" + output.string() + " 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The number after "key": in the JSON text, searched from `from` on.
double Field(const std::string& json, const std::string& key, size_t from = 0) {
    const std::regex pattern("\"" + key + "\": (-?[0-9.eE+-]+)");
    std::smatch m;
    const std::string rest = json.substr(from);
    if (!std::regex_search(rest, m, pattern)) {
        ADD_FAILURE() << "no " << key << " in " << json;
        return NAN;
    }
    return std::stod(m[1]);
}

TEST(DesignRun, EurocodeChecksOfTheTiedBackExampleMatchAHandCalculation) {
    Scratch s;
    ASSERT_EQ(KorvelRun("--section \"AZ 18\" --grade S355GP --code EN1993-5 --json " +
                            (s / "out.json").string() + " " + (s / "tied.kv5d").string(),
                        s / "stdout.txt"),
              0)
        << ReadAll(s / "stdout.txt");
    const std::string json = ReadAll(s / "out.json");
    std::ifstream report(s / "tied.kv5o");
    const auto sections = SummariseReport(report);
    ASSERT_EQ(sections.size(), 1u);
    const size_t design = json.find("\"design\": {");
    ASSERT_NE(design, std::string::npos) << json;
    EXPECT_NE(json.find("\"section\": \"AZ 18\"", design), std::string::npos);
    EXPECT_NE(json.find("\"grade\": \"S355GP\"", design), std::string::npos);
    EXPECT_NE(json.find("\"code\": \"EN1993-5\"", design), std::string::npos);
    EXPECT_NE(json.find("\"class\": 3", design), std::string::npos);

    // The data file analyses Wa = 1 m of wall (the last number of its WALL line).
    const double Wa = 1.0;
    // AZ 18 is class 3 in S355GP: W_el 1800 cm3/m times 355 N/mm2, gamma_M0 1.0.
    const double momentResistance = 1800e3 * 355 / 1e6 * Wa;  // kN m
    EXPECT_NEAR(Field(json, "moment_resistance", design), momentResistance, 1e-6 * 639);
    EXPECT_NEAR(Field(json, "moment_utilisation", design),
                std::abs(sections[0].moment.value) / momentResistance, 1e-5);
    EXPECT_NEAR(Field(json, "max_moment", design), sections[0].moment.value,
                1e-5 * std::abs(sections[0].moment.value));
    // Shear: one web of 9.5 mm over 380 - 9.5 mm per 630 mm pile, fy / sqrt(3).
    const double shearResistance = 9.5 * (380 - 9.5) / 0.630 * 355 / std::sqrt(3.0) / 1e3 * Wa;
    EXPECT_NEAR(Field(json, "shear_resistance", design), shearResistance, 1e-5 * shearResistance);
    EXPECT_NEAR(Field(json, "shear_utilisation", design),
                std::abs(sections[0].shear.value) / shearResistance, 1e-5);
    // The anchor at 1.6 m (station 8 with h = 0.2 m): A E w / L along its axis.
    ASSERT_GT(sections[0].deflections.size(), 8u);
    const double axial = 0.0005 * 2e8 * sections[0].deflections[8] / 6;
    EXPECT_NEAR(Field(json, "axial_per_anchor", design), axial, 1e-4 * std::abs(axial));

    const std::string out = ReadAll(s / "stdout.txt");
    EXPECT_NE(out.find("section 1: design AZ 18 S355GP EN1993-5: moment "), std::string::npos)
        << out;
}

TEST(DesignRun, DesignFileBesideTheDataFileWithACodeOverride) {
    Scratch s;
    std::ofstream(s / "tied.kv5g") << "section = PZ 27\ngrade = A572-50\ncode = EN1993-5\n"
                                      "deflection_limit = fraction\ndeflection_value = 0.01\n"
                                      "tieback_capacity = 100\n";
    ASSERT_EQ(KorvelRun("--code ASD --json " + (s / "out.json").string() + " " +
                            (s / "tied.kv5d").string(),
                        s / "stdout.txt"),
              0)
        << ReadAll(s / "stdout.txt");
    const std::string json = ReadAll(s / "out.json");
    const size_t design = json.find("\"design\": {");
    ASSERT_NE(design, std::string::npos) << json;
    EXPECT_NE(json.find("\"code\": \"ASD\"", design), std::string::npos);
    // 0.65 fy S per foot of wall, in kN m per metre: 30.2 in3/ft is
    // 30.2 * 16.387064 cm3 per 0.3048 m, 50 ksi is 344.7379 N/mm2.
    const double perMetre = 0.65 * 50 * 6.894757293168 * 30.2 * 16.387064 / 0.3048 / 1e3;
    EXPECT_NEAR(Field(json, "moment_resistance", design), perMetre, 1e-5 * perMetre);
    // H/100 of the 6 m free height.
    EXPECT_NEAR(Field(json, "limit", design), 0.06, 1e-9);
    EXPECT_NEAR(Field(json, "capacity", design), 100, 1e-9);
}

TEST(DesignRun, ListsTheCatalogueAndRefusesUnknownNames) {
    Scratch s;
    ASSERT_EQ(KorvelRun("--list-sections", s / "list.txt"), 0);
    const std::string list = ReadAll(s / "list.txt");
    EXPECT_NE(list.find("PZ 27\tI 184.2\tW_el 30.2\tW_pl -\tin4/ft in3/ft\n"), std::string::npos)
        << list;
    EXPECT_NE(list.find("AZ 18\tI 34200\tW_el 1800\tW_pl 2104\tcm4/m cm3/m\n"), std::string::npos);
    EXPECT_NE(list.find("grade S355GP\tfy 355 MPa"), std::string::npos);
    EXPECT_EQ(KorvelRun("--section \"AZ 99\" --grade S355GP " + (s / "tied.kv5d").string(),
                        s / "err.txt"),
              2);
    EXPECT_NE(ReadAll(s / "err.txt").find("no section \"AZ 99\""), std::string::npos);
    EXPECT_EQ(
        KorvelRun("--section \"AZ 18\" --grade S355GP --code BS " + (s / "tied.kv5d").string(),
                  s / "err.txt"),
        2);
}

TEST(DesignRun, WithoutDesignChoicesTheJsonHasNoDesignObject) {
    Scratch s;
    ASSERT_EQ(KorvelRun("--json " + (s / "out.json").string() + " " + (s / "tied.kv5d").string(),
                        s / "stdout.txt"),
              0);
    EXPECT_EQ(ReadAll(s / "out.json").find("\"design\""), std::string::npos);
}

}  // namespace
}  // namespace korvel::cli
