#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "design/design_checks.h"
#include "design/design_choices.h"
#include "design/design_inputs.h"
#include "design/design_table.h"
#include "design/section_catalogue.h"

namespace korvel::design {
namespace {

const TSectionCatalogue& Catalogue() {
    static const TSectionCatalogue catalogue = TSectionCatalogue::Load(KORVEL_CATALOGUE_FILE);
    return catalogue;
}

// Rows as the makers' tables print them.
struct PublishedRow {
    const char* name;
    bool imperial;
    double inertia, elastic;
    double plastic;  // 0: not in the table
};

TEST(SectionCatalogue, HoldsThePublishedRows) {
    const PublishedRow rows[] = {
        {"PZ 22", true, 84.38, 18.1, 0},     {"PZ 27", true, 184.2, 30.2, 0},
        {"PZ 35", true, 361.22, 48.5, 0},    {"PZ 40", true, 490.85, 60.7, 0},
        {"AZ 12", false, 18140, 1200, 1409}, {"AZ 18", false, 34200, 1800, 2104},
        {"AZ 26", false, 55510, 2600, 3059}, {"AZ 50", false, 121060, 5015, 5816},
        {"PU 28+1", false, 68380, 3000, 0},  {"GU 6N", false, 9670, 625, 0},
        {"AU 18", true, 287.8, 33.1, 0},
    };
    for (const PublishedRow& row : rows) {
        SCOPED_TRACE(row.name);
        const TSheetPileSection* s = Catalogue().FindSection(row.name);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->imperial, row.imperial);
        EXPECT_DOUBLE_EQ(*s->inertia, row.inertia);
        EXPECT_DOUBLE_EQ(*s->elastic, row.elastic);
        EXPECT_EQ(s->plastic.has_value(), row.plastic > 0);
        if (row.plastic > 0) {
            EXPECT_DOUBLE_EQ(*s->plastic, row.plastic);
        }
        EXPECT_FALSE(s->source.empty());
    }
}

TEST(SectionCatalogue, EveryRowNamesItsSourceAndHasItsModuli) {
    EXPECT_GE(Catalogue().Sections().size(), 20u);
    for (const TSheetPileSection& s : Catalogue().Sections()) {
        SCOPED_TRACE(s.name);
        EXPECT_FALSE(s.source.empty());
        ASSERT_TRUE(s.inertia && s.elastic);
        // I / W is half the wall height at most: a swapped column would show.
        if (s.height) {
            const double halfHeight = *s.height / 2 / (s.imperial ? 1.0 : 10.0);  // in or cm
            EXPECT_NEAR(*s.inertia / *s.elastic, halfHeight, 0.05 * halfHeight);
        }
    }
}

TEST(SectionCatalogue, ConvertsPerFootRowsToSIPerMetre) {
    const TSheetPileSection& pz = *Catalogue().FindSection("pz27");
    // 1 in4/ft = 0.0254^4 m4 per 0.3048 m of wall.
    EXPECT_NEAR(*pz.inertiaSI, 184.2 * 4.162314256e-7 / 0.3048, 1e-12);
    EXPECT_NEAR(*pz.elasticSI, 30.2 * 1.6387064e-5 / 0.3048, 1e-12);
    EXPECT_NEAR(*pz.widthSI, 18.0 * 0.0254, 1e-12);
    const TSheetPileSection& az = *Catalogue().FindSection("AZ 18");
    EXPECT_NEAR(*az.inertiaSI, 34200e-8, 1e-15);
    EXPECT_NEAR(*az.elasticSI, 1800e-6, 1e-15);
    EXPECT_NEAR(*az.flangeSI, 0.0095, 1e-15);
}

TEST(SectionCatalogue, GradesAndClasses) {
    struct Row {
        const char* name;
        double fyMPa;
    } rows[] = {{"S240GP", 240},
                {"S270GP", 270},
                {"S320GP", 320},
                {"S355GP", 355},
                {"S390GP", 390},
                {"S430GP", 430},
                {"A328", 39 * 6.894757293168},
                {"A572-50", 50 * 6.894757293168},
                {"A572-60", 60 * 6.894757293168},
                {"A690", 50 * 6.894757293168}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const TSteelGrade* g = Catalogue().FindGrade(r.name);
        ASSERT_NE(g, nullptr);
        EXPECT_NEAR(g->fyMPa, r.fyMPa, 1e-9);
    }
    const TSheetPileSection& az = *Catalogue().FindSection("AZ 18");
    EXPECT_EQ(ClassFor(az, "S240GP"), 2);
    EXPECT_EQ(ClassFor(az, "S355GP"), 3);
    EXPECT_EQ(ClassFor(*Catalogue().FindSection("PZ 27"), "A572-50"), std::nullopt);
}

TEST(SectionCatalogue, RefusesBrokenRows) {
    EXPECT_THROW(TSectionCatalogue::Parse("section,X,Z,metric,1,2,3\n"), ECatalogueError);
    EXPECT_THROW(TSectionCatalogue::Parse("grade,G,std,-5,MPa,src\n"), ECatalogueError);
    EXPECT_THROW(TSectionCatalogue::Parse("beam,X\n"), ECatalogueError);
    EXPECT_THROW(TSectionCatalogue::Load("/nonexistent/sheet_piles.csv"), ECatalogueError);
}

TEST(SectionCatalogue, ListsOneRowALine) {
    EXPECT_EQ(CatalogueLine(*Catalogue().FindSection("AZ 18")),
              "AZ 18\tI 34200\tW_el 1800\tW_pl 2104\tcm4/m cm3/m");
    EXPECT_EQ(CatalogueLine(*Catalogue().FindSection("PZ 27")),
              "PZ 27\tI 184.2\tW_el 30.2\tW_pl -\tin4/ft in3/ft");
}

TEST(DesignChoices, RoundTripAndFileName) {
    TDesignChoices c;
    c.section = "PU 28+1";
    c.grade = "S390GP";
    c.code = TDesignCode::LRFD;
    c.gammaM0 = 1.1;
    c.betaB = 0.8;
    c.deflectionLimit = TDeflectionLimit::Fraction;
    c.deflectionValue = 0.005;
    c.tiebackCapacity = 450;
    EXPECT_EQ(ParseDesignFile(DesignFileText(c)), c);
    EXPECT_EQ(DesignFileFor("/a/b/Wall.kv5d"), std::filesystem::path("/a/b/Wall.kv5g"));
    EXPECT_THROW(ParseDesignFile("code = BS\n"), EDesignFileError);
    EXPECT_THROW(ParseDesignFile("gamma_M0 = x\n"), EDesignFileError);
    TDesignCode code;
    EXPECT_TRUE(ParseCode("en1993-5", code));
    EXPECT_EQ(code, TDesignCode::EN1993_5);
    EXPECT_FALSE(ParseCode("EC3", code));
}

TEST(DesignChoices, WritesAndReadsBesideTheDataFile) {
    const auto folder = std::filesystem::temp_directory_path() / "korvel-design-choices";
    std::filesystem::create_directories(folder);
    const auto data = folder / "wall.kv5d";
    TDesignChoices c, back;
    EXPECT_FALSE(ReadDesignFile(data, back));
    c.section = "AZ 18";
    c.grade = "S355GP";
    WriteDesignFile(data, c);
    ASSERT_TRUE(ReadDesignFile(data, back));
    EXPECT_EQ(back, c);
    EXPECT_FALSE(std::filesystem::exists(folder / "wall.kv5g.tmp"));
    std::filesystem::remove_all(folder);
}

TEST(DesignInputs, ReadsTheWallAndTiebacksOfEachSection) {
    std::ifstream tied(std::string(KORVEL_EXAMPLES_DIR) + "/tiedback_si.kv5d");
    const auto walls = ReadWallSections(tied);
    ASSERT_EQ(walls.size(), 1u);
    EXPECT_EQ(walls[0].unitSystem, 2);
    EXPECT_EQ(walls[0].N, 50);
    EXPECT_DOUBLE_EQ(walls[0].h, 0.2);
    EXPECT_DOUBLE_EQ(walls[0].freeHeight, 6);
    EXPECT_DOUBLE_EQ(walls[0].Wa, 1);
    ASSERT_EQ(walls[0].tiebacks.size(), 1u);
    EXPECT_DOUBLE_EQ(walls[0].tiebacks[0].depth, 1.6);
    EXPECT_DOUBLE_EQ(walls[0].tiebacks[0].spacing, 2.5);

    struct Row {
        const char* file;
        size_t sections;
    } rows[] = {{"three_stages_english.kv5d", 3},    {"short_long_term_si.kv5d", 2},
                {"anchored_trapezoidal_si.kv5d", 1}, {"weak_rock_socket_english.kv5d", 1},
                {"user_py_curves_english.kv5d", 1},  {"moment_ei_english.kv5d", 1},
                {"surcharges_english.kv5d", 1},      {"pymod_sand_english.kv5d", 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        std::ifstream in(std::string(KORVEL_EXAMPLES_DIR) + "/" + r.file);
        EXPECT_EQ(ReadWallSections(in).size(), r.sections);
    }
    std::istringstream cut("title\n2 0 1 0 0 0 0 1 0 0\n10 0.5\n");
    EXPECT_THROW(ReadWallSections(cut), EDesignInputError);
}

TEST(DesignInputs, ReadsTheResultsTable) {
    std::istringstream report(
        "\n\n     RESULTS -- ITERATION  3\n     --------------------\n\n"
        "   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI \n"
        "              M           M                    KN- M         KN          KN        KN- "
        "M**2\n"
        "   ------    ----        ----       -----      ------      ------    ---------    "
        "----------\n"
        "     0   0.000E+00   0.100E-01   0.000E+00   0.000E+00   0.500E+01   0.000E+00   "
        "0.718E+05\n"
        "     1   0.200E+00   0.900E-02   0.000E+00  -0.120E+03   0.100E+01   0.000E+00   "
        "0.718E+05\n"
        "\n\n     END OF ANALYSIS\n");
    const auto blocks = ReadResultsBlocks(report);
    ASSERT_EQ(blocks.size(), 1u);
    ASSERT_EQ(blocks[0].stations.size(), 2u);
    EXPECT_DOUBLE_EQ(blocks[0].stations[1].x, 0.2);
    EXPECT_DOUBLE_EQ(blocks[0].stations[1].moment, -120);
    EXPECT_EQ(blocks[0].momentUnit, "KN-M");
    EXPECT_EQ(blocks[0].forceUnit, "KN");
}

TResultsBlock Block(std::vector<TStationResult> stations) {
    TResultsBlock b;
    b.stations = std::move(stations);
    return b;
}

TEST(DesignChecks, EurocodeZSectionPerAnalysedWidth) {
    TWallSection wall;
    wall.unitSystem = 2;
    wall.N = 2;
    wall.h = 1.0;
    wall.freeHeight = 4.0;
    wall.Wa = 2.0;  // two metres of wall analysed
    const auto results = Block({{0, 0.030, 0, 100}, {1, 0.020, -500, -300}, {2, 0.0, 200, 50}});
    TDesignChoices c;
    c.deflectionLimit = TDeflectionLimit::Fraction;
    c.deflectionValue = 0.01;  // H/100 = 40 mm
    const auto check = CheckSection(wall, results, *Catalogue().FindSection("AZ 18"),
                                    *Catalogue().FindGrade("S355GP"), c, 1);
    // Class 3 in S355GP: elastic, 1800 cm3/m * 355 N/mm2 = 639 kN m per metre.
    EXPECT_EQ(check.sectionClass, 3);
    EXPECT_NEAR(check.moment.perUnitWidth, 639.0, 1e-9);
    EXPECT_NEAR(check.moment.resistance, 1278.0, 1e-9);
    EXPECT_NEAR(check.moment.utilisation, 500.0 / 1278.0, 1e-12);
    EXPECT_DOUBLE_EQ(check.moment.depth, 1);
    // One web per 630 mm pile: 9.5 * (380 - 9.5) mm2, fy / sqrt(3).
    const double shearPerMetre =
        9.5 * (380 - 9.5) / 0.630 * 355 / std::sqrt(3.0) / 1e3;  // N/m to kN/m
    EXPECT_NEAR(check.shear.perUnitWidth, shearPerMetre, 1e-9);
    EXPECT_NEAR(check.shear.utilisation, 300.0 / (2 * shearPerMetre), 1e-12);
    EXPECT_NEAR(check.deflection.limit, 0.04, 1e-15);
    EXPECT_NEAR(check.deflection.utilisation, 0.75, 1e-12);
    EXPECT_TRUE(check.passes);

    // S240GP is class 2: plastic modulus, and gamma_M0 divides.
    c.gammaM0 = 1.1;
    const auto plastic = CheckSection(wall, results, *Catalogue().FindSection("AZ 18"),
                                      *Catalogue().FindGrade("S240GP"), c, 1);
    EXPECT_EQ(plastic.sectionClass, 2);
    EXPECT_NEAR(plastic.moment.perUnitWidth, 2104 * 240 / 1.1 / 1000, 1e-9);
}

TEST(DesignChecks, HighShearIsNamedInTheNotes) {
    TWallSection wall;
    wall.unitSystem = 2;
    wall.N = 1;
    wall.h = 1;
    wall.Wa = 1;
    const auto& az = *Catalogue().FindSection("AZ 18");
    const auto& s355 = *Catalogue().FindGrade("S355GP");
    // V_pl,Rd is about 1145 kN per metre: 500 kN stays below half, 600 kN does not.
    EXPECT_TRUE(
        CheckSection(wall, Block({{0, 0, 0, 500}, {1, 0, 0, 0}}), az, s355, {}, 1).notes.empty());
    const auto high = CheckSection(wall, Block({{0, 0, 0, 600}, {1, 0, 0, 0}}), az, s355, {}, 1);
    ASSERT_EQ(high.notes.size(), 1u);
    EXPECT_NE(high.notes[0].find("half the plastic shear resistance"), std::string::npos);
}

TEST(DesignChecks, AllowableStressAndLrfdInEnglishUnits) {
    TWallSection wall;
    wall.unitSystem = 1;
    wall.N = 1;
    wall.h = 12;
    wall.freeHeight = 120;
    wall.Wa = 24;  // inches: two feet of wall
    const auto results = Block({{0, 1.5, 0, 20000}, {12, 0.5, 1.2e6, -5000}});
    TDesignChoices c;
    c.code = TDesignCode::ASD;
    c.deflectionLimit = TDeflectionLimit::Absolute;
    c.deflectionValue = 1.0;
    const auto asd = CheckSection(wall, results, *Catalogue().FindSection("PZ 27"),
                                  *Catalogue().FindGrade("A572-50"), c, 1);
    // 0.65 * 50 ksi * 30.2 in3/ft = 981500 lb in per foot, two feet analysed.
    EXPECT_NEAR(asd.moment.perUnitWidth, 981500.0, 1e-6);
    EXPECT_NEAR(asd.moment.resistance, 1963000.0, 1e-6);
    EXPECT_NEAR(asd.moment.utilisation, 1.2e6 / 1963000.0, 1e-12);
    // Web 0.375 in over 12 - 0.375 in per 18 in pile, 0.40 fy.
    EXPECT_NEAR(asd.shear.resistance, 0.40 * 50000 * 0.375 * 11.625 / 18 * 24, 1e-6);
    EXPECT_NEAR(asd.deflection.utilisation, 1.5, 1e-12);
    EXPECT_FALSE(asd.passes);

    c.code = TDesignCode::LRFD;
    const auto lrfd = CheckSection(wall, results, *Catalogue().FindSection("PZ 27"),
                                   *Catalogue().FindGrade("A572-50"), c, 1);
    EXPECT_NEAR(lrfd.moment.perUnitWidth, 0.90 * 50000 * 30.2, 1e-6);
    EXPECT_NEAR(lrfd.shear.resistance, 0.90 * 0.6 * 50000 * 0.375 * 11.625 / 18 * 24, 1e-6);
}

TEST(DesignChecks, USectionTakesBetaBAndSkipsShearWithoutDimensions) {
    TWallSection wall;
    wall.unitSystem = 2;
    wall.N = 1;
    wall.h = 1;
    wall.Wa = 1;
    TDesignChoices c;
    c.betaB = 0.8;
    const auto check =
        CheckSection(wall, Block({{0, 0, 100, 10}, {1, 0, 0, 0}}),
                     *Catalogue().FindSection("PU 28+1"), *Catalogue().FindGrade("S355GP"), c, 1);
    EXPECT_NEAR(check.moment.perUnitWidth, 0.8 * 3000 * 355 / 1000.0, 1e-9);
    EXPECT_FALSE(check.shear.available);
    EXPECT_FALSE(check.notes.empty());
}

TEST(DesignChecks, TiebackForcesFromTheEngineSpring) {
    TWallSection wall;
    wall.unitSystem = 2;
    wall.N = 10;
    wall.h = 0.2;
    wall.Wa = 1.0;
    wall.tiebacks.push_back({1.6, 0.0005, 2e8, 6, 15, 2.5});
    std::vector<TStationResult> stations;
    for (int k = 0; k <= 10; ++k) stations.push_back({0.2 * k, 0.001 * k, 0, 0});
    TDesignChoices c;
    c.tiebackCapacity = 200;
    const auto check = CheckSection(wall, Block(stations), *Catalogue().FindSection("AZ 18"),
                                    *Catalogue().FindGrade("S355GP"), c, 1);
    ASSERT_EQ(check.tiebacks.size(), 1u);
    const TTiebackCheck& t = check.tiebacks[0];
    EXPECT_EQ(t.station, 8);
    const double cosine = std::cos(15 * 3.14159265358979 / 180);
    EXPECT_NEAR(t.forcePerWidth, 0.0005 * 2e8 * cosine / (2.5 * 6) * 0.008, 1e-9);
    // The anchor carries the force of its spacing along its own axis: A E w / L.
    EXPECT_NEAR(t.axialPerAnchor, 0.0005 * 2e8 * 0.008 / 6, 1e-9);
    EXPECT_NEAR(t.utilisation, 0.0005 * 2e8 * 0.008 / 6 / 200, 1e-12);
}

TEST(DesignChecks, OtherUnitsAreRefused) {
    TWallSection wall;
    wall.unitSystem = 3;
    wall.Wa = 1;
    EXPECT_THROW(CheckSection(wall, Block({{0, 0, 0, 0}}), *Catalogue().FindSection("AZ 18"),
                              *Catalogue().FindGrade("S355GP"), {}, 1),
                 EDesignInputError);
    TDesignChoices c;
    c.section = "AZ 99";
    c.grade = "S355GP";
    EXPECT_EQ(CheckRun("/nonexistent.kv5d", "/nonexistent.kv5o", Catalogue(), c).error,
              "no section \"AZ 99\" in the catalogue");
}

TEST(DesignTable, WallStiffnessFromTheSection) {
    // 210000 N/mm2 * 34200 cm4 per metre: the bundled tied-back wall's 71820 kN m2.
    EXPECT_NEAR(
        WallStiffness(*Catalogue().FindSection("AZ 18"), *Catalogue().FindGrade("S355GP"), 2, 1.0),
        71820.0, 1e-6);
    // 29000 ksi * 184.2 in4 per foot, for one foot of wall.
    EXPECT_NEAR(WallStiffness(*Catalogue().FindSection("PZ 27"), *Catalogue().FindGrade("A572-50"),
                              1, 12.0),
                29.0e6 * 184.2, 1e-3);
}

TEST(DesignTable, OneRowPerSectionWithItsMark) {
    TDesignRun run;
    TWallSection wall;
    wall.unitSystem = 2;
    wall.N = 1;
    wall.h = 1;
    wall.Wa = 1;
    TResultsBlock b = Block({{0, 0.01, 0, 10}, {1, 0, -700, 0}});
    b.momentUnit = "KN-M";
    b.forceUnit = "KN";
    b.lengthUnit = "M";
    for (const char* grade : {"S355GP", "S430GP"}) {
        run.sections.push_back(CheckSection(wall, b, *Catalogue().FindSection("AZ 18"),
                                            *Catalogue().FindGrade(grade), {},
                                            static_cast<int>(run.sections.size()) + 1));
    }
    const auto rows = CheckTableRows(run);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].size(), CheckTableHeader().size());
    EXPECT_EQ(rows[0][4], "1.095");  // 700 / 639
    EXPECT_EQ(rows[0].back(), "NOT OK");
    EXPECT_EQ(rows[1][4], "0.904");  // 700 / (1800 * 430 / 1000)
    EXPECT_EQ(rows[1].back(), "OK");
    const auto notes = CheckTableNotes(run);
    ASSERT_GE(notes.size(), 2u);
    EXPECT_EQ(notes[1],
              "Moment resistance 639 KN-M per m of wall x analysed width Wa 1 M / 1 M = "
              "639 KN-M.");
    // Section 1 (S355GP) governs: 700 / 639.
    EXPECT_NE(std::find(notes.begin(), notes.end(),
                        "Governing moment: section 1, -700 KN-M at 1 M, utilisation 1.095."),
              notes.end());
}

}  // namespace
}  // namespace korvel::design
