// korvel-run --pdf on bundled examples, the PDFs read back with poppler-utils:
// the title block and "Page n of m" on every page, every section's maxima equal
// to the output report's, the paper by unit system and by --paper, embedded
// fonts, drawn curves on the graph page, the error page of a run that ended on
// a data error, and a target that cannot be written.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TOutput {
    int Code = -1;
    std::string Text;  // standard output and error together
};

TOutput Shell(const std::string& command) {
    TOutput out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.Text.append(buffer, n);
    const int status = pclose(pipe);
    out.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Text of each page (pdftotext separates pages by form feeds).
std::vector<std::string> Pages(const fs::path& pdf) {
    const TOutput t = Shell("pdftotext -layout " + Quote(pdf) + " -");
    std::vector<std::string> pages;
    std::string page;
    for (char c : t.Text) {
        if (c == '\f') {
            pages.push_back(page);
            page.clear();
        } else {
            page += c;
        }
    }
    return pages;
}

// Both extremes of a quantity with their depths; Has* false where the
// quantity takes no value of that sign.
struct TExtremes {
    double Max = 0, MaxDepth = 0, Min = 0, MinDepth = 0;
    bool HasMax = false, HasMin = false;
};
struct TMaxima {
    TExtremes Deflection, Moment, Shear, Reaction;
};

void Keep(TExtremes& e, double value, double x, bool first) {
    if (first || value > e.Max) {
        e.Max = value;
        e.MaxDepth = x;
    }
    if (first || value < e.Min) {
        e.Min = value;
        e.MinDepth = x;
    }
    // Solver noise (-0.625E-12 beside a moment of 100) is zero at print precision.
    const double noise = 1e-6 * std::max(std::abs(e.Max), std::abs(e.Min));
    e.HasMax = e.Max > noise;
    e.HasMin = e.Min < -noise;
}

// Extremes of every results block of an output report, read here on their own,
// in the report's units.
std::vector<TMaxima> ReportMaxima(const fs::path& report) {
    std::vector<TMaxima> out;
    std::istringstream in(ReadText(report));
    std::string line;
    bool rows = false, first = true;
    while (std::getline(in, line)) {
        if (line.rfind("     RESULTS -- ITERATION", 0) == 0) {
            out.emplace_back();
            rows = false;
            first = true;
            continue;
        }
        if (out.empty()) continue;
        if (line.rfind("   ------", 0) == 0) {
            rows = true;
            continue;
        }
        if (!rows) continue;
        std::istringstream r(line);
        int station;
        double x, w, slope, m, v, p, ei;
        if (!(r >> station >> x >> w >> slope >> m >> v >> p >> ei)) {
            rows = false;
            continue;
        }
        Keep(out.back().Deflection, w, x, first);
        Keep(out.back().Moment, m, x, first);
        Keep(out.back().Shear, v, x, first);
        Keep(out.back().Reaction, p, x, first);
        first = false;
    }
    return out;
}

// The PDF's extreme-value rows, in order: quantity, unit, largest positive, its
// depth, largest negative, its depth ("–" where there is none), taken back to
// the output report's units (kip-in, kips and ft of an English report).
std::vector<TMaxima> PdfMaxima(const std::string& text) {
    std::vector<TMaxima> out;
    const std::regex row(
        R"(^\s*(Deflection|Bending moment|Shear|Net reaction per station \(NET REACT/STA\))\s+(\S+)\s+(\S+)\s+(\S+)\s+(\S+)\s+(\S+)\s*$)");
    std::istringstream in(text);
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (!std::regex_match(line, m, row)) continue;
        const std::string what = m[1];
        const std::string unit = m[2];
        const double factor = unit == "kip-in" || unit == "kips" ? 1000 : 1;
        const double depth_factor = unit == "in" || unit == "kip-in" || unit == "kips" ? 12 : 1;
        TExtremes e;
        e.HasMax = m[3] != "–";
        e.HasMin = m[5] != "–";
        if (e.HasMax) {
            e.Max = std::stod(m[3]) * factor;
            e.MaxDepth = std::stod(m[4]) * depth_factor;
        }
        if (e.HasMin) {
            e.Min = std::stod(m[5]) * factor;
            e.MinDepth = std::stod(m[6]) * depth_factor;
        }
        if (what == "Deflection") {
            out.emplace_back();
            out.back().Deflection = e;
        } else if (out.empty()) {
            continue;
        } else if (what == "Bending moment") {
            out.back().Moment = e;
        } else if (what == "Shear") {
            out.back().Shear = e;
        } else {
            out.back().Reaction = e;
        }
    }
    return out;
}

void ExpectSame(const TExtremes& shown, const TExtremes& report, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(shown.HasMax, report.HasMax);
    ASSERT_EQ(shown.HasMin, report.HasMin);
    const auto near = [](double a, double b) { EXPECT_NEAR(a, b, 1e-9 + 1e-4 * std::abs(b)); };
    if (shown.HasMax) {
        near(shown.Max, report.Max);
        near(shown.MaxDepth, report.MaxDepth);
    }
    if (shown.HasMin) {
        near(shown.Min, report.Min);
        near(shown.MinDepth, report.MinDepth);
    }
}

void ExpectSame(const TMaxima& shown, const TMaxima& report) {
    ExpectSame(shown.Deflection, report.Deflection, "deflection");
    ExpectSame(shown.Moment, report.Moment, "moment");
    ExpectSame(shown.Shear, report.Shear, "shear");
    ExpectSame(shown.Reaction, report.Reaction, "net reaction");
}

std::string Join(const std::vector<std::string>& pages) {
    std::string all;
    for (const auto& p : pages) all += p;
    return all;
}

// Pixels of a colour family in a page rendered by pdftoppm (binary PPM).
struct TImage {
    int Width = 0, Height = 0;
    std::string Pixels;
};

TImage RenderPage(const fs::path& pdf, int page, const fs::path& prefix) {
    const std::string n = std::to_string(page);
    Shell("pdftoppm -r 72 -singlefile -f " + n + " -l " + n + " " + Quote(pdf) + " " +
          Quote(prefix));
    std::istringstream in(ReadText(prefix.string() + ".ppm"));
    TImage image;
    std::string magic;
    int depth = 0;
    in >> magic >> image.Width >> image.Height >> depth;
    in.get();
    if (magic != "P6") return {};
    image.Pixels.resize(static_cast<size_t>(image.Width) * image.Height * 3);
    in.read(image.Pixels.data(), static_cast<std::streamsize>(image.Pixels.size()));
    return image;
}

// Matching pixels in the rows from top to bottom (fractions of the height).
int CountPixels(const TImage& image, bool (*match)(int r, int g, int b), double top = 0,
                double bottom = 1) {
    int count = 0;
    const size_t row = static_cast<size_t>(image.Width) * 3;
    const size_t from = static_cast<size_t>(top * image.Height) * row;
    const size_t to =
        std::min(image.Pixels.size(), static_cast<size_t>(bottom * image.Height) * row);
    for (size_t i = from; i + 2 < to; i += 3) {
        const auto c = [&](size_t k) { return static_cast<unsigned char>(image.Pixels[i + k]); };
        if (match(c(0), c(1), c(2))) ++count;
    }
    return count;
}

class ReportPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "korvel-pdf-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    fs::path Example(const std::string& name) {
        const fs::path target = folder_ / name;
        fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / name, target);
        return target;
    }
    // As from a terminal without a display: korvel-run picks the offscreen
    // platform itself.
    TOutput Korvel(const std::string& arguments) {
        return Shell(std::string("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY '") +
                     KORVEL_RUN_EXE + "' " + arguments);
    }
    fs::path folder_;
};

std::string PdfInfo(const fs::path& pdf, const std::string& key) {
    std::istringstream in(Shell("pdfinfo " + Quote(pdf)).Text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            const size_t at = line.find_first_not_of(' ', key.size() + 1);
            return at == std::string::npos ? std::string() : line.substr(at);
        }
    }
    return {};
}

TEST_F(ReportPdf, StagedEnglishExampleOnLetterWithTheReportsMaxima) {
    const fs::path data = Example("three_stages_english.kv5d");
    const TOutput run = Korvel("--pdf " + Quote(data));
    ASSERT_EQ(run.Code, 0) << run.Text;
    const fs::path pdf = folder_ / "three_stages_english.pdf";
    ASSERT_TRUE(fs::exists(pdf)) << run.Text;
    EXPECT_NE(run.Text.find("calculation report " + pdf.string()), std::string::npos);

    EXPECT_NE(PdfInfo(pdf, "Page size").find("612 x 792 pts (letter)"), std::string::npos);
    const std::vector<std::string> pages = Pages(pdf);
    ASSERT_GE(pages.size(), 5u);
    EXPECT_EQ(PdfInfo(pdf, "Pages"), std::to_string(pages.size()));
    for (size_t i = 0; i < pages.size(); ++i) {
        const std::string& p = pages[i];
        SCOPED_TRACE("page " + std::to_string(i + 1));
        EXPECT_NE(p.find("Three-stage anchored excavation"), std::string::npos);
        EXPECT_NE(p.find("File: three_stages_english.kv5d"), std::string::npos);
        EXPECT_NE(p.find("KORVEL 2015.5.1"), std::string::npos);
        EXPECT_NE(p.find("Page " + std::to_string(i + 1) + " of " + std::to_string(pages.size())),
                  std::string::npos);
    }
    const std::string all = Join(pages);
    // Every stage's inputs and results.
    for (const char* text : {"Stage 1", "Stage 2", "Stage 3", "Wall stiffness", "Tieback forces",
                             "Stage 3: results by station"}) {
        EXPECT_NE(all.find(text), std::string::npos) << text;
    }

    const std::vector<TMaxima> report = ReportMaxima(folder_ / "three_stages_english.kv5o");
    const std::vector<TMaxima> shown = PdfMaxima(all);
    ASSERT_EQ(report.size(), 3u);
    ASSERT_EQ(shown.size(), report.size());
    for (size_t s = 0; s < report.size(); ++s) {
        SCOPED_TRACE("stage " + std::to_string(s + 1));
        ExpectSame(shown[s], report[s]);
    }

    // Fonts: every one embedded.
    std::istringstream fonts(Shell("pdffonts " + Quote(pdf)).Text);
    std::string line;
    int rows = 0;
    while (std::getline(fonts, line)) {
        if (line.rfind("name", 0) == 0 || line.rfind("----", 0) == 0) continue;
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string x; words >> x;) w.push_back(x);
        ASSERT_GE(w.size(), 6u) << line;
        EXPECT_EQ(w[w.size() - 5], "yes") << line;
        ++rows;
    }
    EXPECT_GT(rows, 0);

    // The graph page: stage 2 is drawn in blue and stage 3 in red (the graph
    // colours); their curves run through the upper half of the page, down to the
    // wall's 30 ft of a 40 ft depth axis, where the legend (at the bottom) is not.
    // The first page, all text, has neither colour.
    int graph_page = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].find("Deflection, moment and shear with the soil profile") !=
            std::string::npos)
            graph_page = static_cast<int>(i) + 1;
    }
    ASSERT_GT(graph_page, 0);
    const TImage graph = RenderPage(pdf, graph_page, folder_ / "graph");
    ASSERT_GT(graph.Width, 0);
    const auto blue = [](int r, int g, int b) { return b > 180 && r < 90 && g < 90; };
    const auto red = [](int r, int g, int b) { return r > 180 && g < 90 && b < 90; };
    EXPECT_GT(CountPixels(graph, blue, 0.2, 0.5), 60);
    EXPECT_GT(CountPixels(graph, red, 0.2, 0.5), 60);
    const TImage first = RenderPage(pdf, 1, folder_ / "first");
    EXPECT_EQ(CountPixels(first, blue), 0);
}

TEST_F(ReportPdf, SIExamplesOnA4InParallelAndLetterWhenAsked) {
    const fs::path a = Example("short_long_term_si.kv5d");
    const fs::path b = Example("tiedback_si.kv5d");
    const TOutput run = Korvel("-j 2 --pdf " + Quote(a) + " " + Quote(b));
    ASSERT_EQ(run.Code, 0) << run.Text;
    for (const char* name : {"short_long_term_si.pdf", "tiedback_si.pdf"}) {
        ASSERT_TRUE(fs::exists(folder_ / name)) << name;
        EXPECT_NE(PdfInfo(folder_ / name, "Page size").find("(A4)"), std::string::npos) << name;
    }
    const std::string all = Join(Pages(folder_ / "short_long_term_si.pdf"));
    EXPECT_NE(all.find("Short-term analysis"), std::string::npos);
    EXPECT_NE(all.find("Long-term analysis"), std::string::npos);
    EXPECT_NE(all.find("Distributed earth pressure (long term)"), std::string::npos);
    const auto report = ReportMaxima(folder_ / "short_long_term_si.kv5o");
    const auto shown = PdfMaxima(all);
    ASSERT_EQ(report.size(), 2u);
    ASSERT_EQ(shown.size(), 2u);
    ExpectSame(shown[1], report[1]);

    const TOutput letter = Korvel("--paper letter --pdf " + Quote(a));
    ASSERT_EQ(letter.Code, 0) << letter.Text;
    EXPECT_NE(PdfInfo(folder_ / "short_long_term_si.pdf", "Page size").find("(letter)"),
              std::string::npos);
    EXPECT_EQ(Korvel("--paper legal --pdf " + Quote(a)).Code, 2);
}

// A run beyond the maximum allowable deflection (1 mm for the tied-back wall):
// korvel-run exits with 3 and the PDF says so on its first page, at the
// section's results, on the graphs and at the station table.
TEST_F(ReportPdf, ResultsBeyondTheAllowedDeflectionCarryABanner) {
    const fs::path data = Example("tiedback_si.kv5d");
    std::string text = ReadText(data);
    const size_t at = text.find("50 0.2\t0.3\t1E-5");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 15, "50 0.2\t0.001\t1E-5");
    std::ofstream(data, std::ios::binary) << text;
    const TOutput run = Korvel("--pdf " + Quote(data));
    EXPECT_EQ(run.Code, 3) << run.Text;
    const std::vector<std::string> pages = Pages(folder_ / "tiedback_si.pdf");
    ASSERT_GE(pages.size(), 5u);
    const std::string banner = "The results are not valid: do not use them for design.";
    EXPECT_NE(pages[0].find(banner), std::string::npos) << pages[0];
    EXPECT_NE(pages[0].find("The maximum allowable deflection was exceeded at 47 stations"),
              std::string::npos)
        << pages[0];
    size_t banners = 0;
    for (const std::string& p : pages) {
        for (size_t k = p.find(banner); k != std::string::npos; k = p.find(banner, k + 1))
            ++banners;
    }
    EXPECT_EQ(banners, 4u);  // first page, results, graphs, station table
}

// What a checker needs besides the numbers, on the tied-back SI example: the
// job block, the data file's SHA-256 (computed here with sha256sum), the date
// and time of the analysis, contents with page numbers, method, sign
// convention, assumptions, units, both extremes (-87.9 and +28 kN-m), the net
// reaction named as the report names it and the soil reaction below the
// excavation, Wa and the user curves' points, warnings, and the end mark.
TEST_F(ReportPdf, TiedBackReportHasWhatACheckerSigns) {
    const fs::path data = Example("tiedback_si.kv5d");
    const TOutput run = Korvel("--pdf " + Quote(data));
    ASSERT_EQ(run.Code, 0) << run.Text;
    const std::vector<std::string> pages = Pages(folder_ / "tiedback_si.pdf");
    ASSERT_GE(pages.size(), 5u);
    const std::string& first = pages[0];
    for (const char* text : {"Job number", "Revision", "Prepared by", "Checked by",
                             "SHA-256 of the data file", "Analysed on", "Contents"}) {
        EXPECT_NE(first.find(text), std::string::npos) << text;
    }
    const std::string sum = Shell("sha256sum " + Quote(data)).Text.substr(0, 64);
    EXPECT_NE(first.find(sum), std::string::npos) << sum;
    const std::string kv5o = ReadText(folder_ / "tiedback_si.kv5o");
    const std::regex date(R"(Date:\s+(.*\S)\s+Time:\s+(\S+))");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(kv5o, m, date));
    EXPECT_NE(first.find(m[1].str() + ", " + m[2].str()), std::string::npos) << first;
    // The contents give each part's page.
    const std::regex entry(R"(Results by station[ .]+([0-9]+))");
    ASSERT_TRUE(std::regex_search(first, m, entry)) << first;
    const size_t station_page = std::stoul(m[1]);
    ASSERT_LE(station_page, pages.size());
    EXPECT_NE(pages[station_page - 1].find("Results by station"), std::string::npos);

    const std::string all = Join(pages);
    for (const char* text :
         {"Method", "Sign convention", "Assumptions and limits", "no lock-off",
          "Units of the results, tables and graphs", "Width for active earth pressure, Wa",
          "User p-y curve 3 (Node # 50): points", "Net reaction per station (NET REACT/STA)",
          "Soil reaction per station below the excavation", "Warnings of the run",
          "p-y curves, y up to 2.5 times the largest wall deflection", "x = 10 m (station 50)"}) {
        EXPECT_NE(all.find(text), std::string::npos) << text;
    }
    EXPECT_NE(pages.back().find("End of report"), std::string::npos);
    const std::regex moment(R"(Bending moment\s+kN-m\s+28\s+8\.2\s+-87\.9\s+4\.6)");
    EXPECT_TRUE(std::regex_search(all, moment)) << all;
    const std::regex net(
        R"(Net reaction per station \(NET REACT/STA\)\s+kN\s+\S+\s+\S+\s+-59\.4\s+1\.6)");
    EXPECT_TRUE(std::regex_search(all, net));
}

// Every stage's own p-y curves, each in its graph.
TEST_F(ReportPdf, EveryStageHasItsOwnPYCurves) {
    const fs::path data = Example("three_stages_english.kv5d");
    ASSERT_EQ(Korvel("--pdf " + Quote(data)).Code, 0);
    const std::string all = Join(Pages(folder_ / "three_stages_english.pdf"));
    for (const char* stage :
         {"p-y curves (Stage: 1)", "p-y curves (Stage: 2)", "p-y curves (Stage: 3)"}) {
        EXPECT_NE(all.find(stage), std::string::npos) << stage;
    }
    EXPECT_NE(all.find("excavation, stage 2"), std::string::npos);
}

TEST_F(ReportPdf, DataErrorStillGivesAReportThatOpensWithTheError) {
    const fs::path data = Example("cantilever_english.kv5d");
    // A continuation code of 3 in the stiffness row: the engine stops on it.
    std::string text = ReadText(data);
    const size_t at = text.find("0\t60\t1\t5.336E9");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 14, "0\t60\t3\t5.336E9");
    std::ofstream(data, std::ios::binary) << text;

    const TOutput run = Korvel("--pdf " + Quote(data));
    EXPECT_EQ(run.Code, 1) << run.Text;
    const fs::path pdf = folder_ / "cantilever_english.pdf";
    ASSERT_TRUE(fs::exists(pdf)) << run.Text;
    const std::vector<std::string> pages = Pages(pdf);
    ASSERT_FALSE(pages.empty());
    EXPECT_NE(pages[0].find("The analysis ended on an error in the data:"), std::string::npos);
    EXPECT_NE(pages[0].find("ERROR"), std::string::npos) << pages[0];
}

TEST_F(ReportPdf, TargetThatCannotBeWrittenLeavesNothingBehind) {
    const fs::path data = Example("cantilever_english.kv5d");
    // A folder where the PDF should go: no file can take its place.
    fs::create_directory(folder_ / "cantilever_english.pdf");
    const TOutput run = Korvel("--pdf " + Quote(data));
    EXPECT_EQ(run.Code, 1) << run.Text;
    EXPECT_NE(
        run.Text.find("korvel-run: cannot write " + (folder_ / "cantilever_english.pdf").string()),
        std::string::npos)
        << run.Text;
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename());
    const std::set<std::string> expected = {"cantilever_english.kv5d", "cantilever_english.kv5o",
                                            "cantilever_english.kv5p", "cantilever_english.kv5r",
                                            "cantilever_english.pdf"};
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(fs::is_empty(folder_ / "cantilever_english.pdf"));
}

}  // namespace
