// The Design Checks section of the PDF report: korvel-run --pdf with a section
// and grade on the tied-back example, read back with pdftotext; and no such
// section without design choices.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// Largest |moment| of the report's results table.
double LargestMoment(const fs::path& report) {
    std::ifstream in(report);
    double largest = 0;
    bool rows = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("   ------    ----", 0) == 0) {
            rows = true;
            continue;
        }
        if (!rows) continue;
        std::istringstream words(line);
        double station, x, w, slope, m;
        if (!(words >> station >> x >> w >> slope >> m)) break;
        largest = std::max(largest, std::abs(m));
    }
    return largest;
}

class DesignPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "korvel-design-pdf-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d", folder_ / "tied.kv5d");
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(DesignPdf, SectionWithTheUtilisationAndTheWidthConversion) {
    const std::string data = (folder_ / "tied.kv5d").string();
    ASSERT_EQ(std::system((std::string(KORVEL_RUN_EXE) +
                           " --pdf --section 'AZ 18' --grade S355GP --code EN1993-5 '" + data +
                           "' >/dev/null 2>&1")
                              .c_str()),
              0);
    const std::string text =
        Capture("pdftotext -layout '" + (folder_ / "tied.pdf").string() + "' -");
    ASSERT_NE(text.find("Design Checks"), std::string::npos) << text;
    char hand[32];
    std::snprintf(hand, sizeof hand, "%.3f", LargestMoment(folder_ / "tied.kv5o") / 639.0);
    EXPECT_NE(text.find(hand, text.find("Design Checks")), std::string::npos) << hand << text;
    EXPECT_NE(text.find("M_c,Rd = W_el fy / gamma_M0 (class 3, gamma_M0 1.00)"), std::string::npos);
    EXPECT_NE(text.find("Moment resistance 639 KN-M per m of wall x analysed width Wa 1 M / 1 M "
                        "= 639 KN-M."),
              std::string::npos);
}

TEST_F(DesignPdf, NoSectionWithoutDesignChoices) {
    const std::string data = (folder_ / "tied.kv5d").string();
    ASSERT_EQ(std::system(
                  (std::string(KORVEL_RUN_EXE) + " --pdf '" + data + "' >/dev/null 2>&1").c_str()),
              0);
    const std::string text =
        Capture("pdftotext -layout '" + (folder_ / "tied.pdf").string() + "' -");
    EXPECT_NE(text.find("Results"), std::string::npos);
    EXPECT_EQ(text.find("Design Checks"), std::string::npos);
}

}  // namespace
