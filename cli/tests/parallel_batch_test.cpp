#include "parallel_batch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace korvel::cli {
namespace {

namespace fs = std::filesystem;

class Batch : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "korvel-batch-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        const char* examples[] = {"cantilever_english.kv5d", "tiedback_si.kv5d",
                                  "short_long_term_si.kv5d", "three_stages_english.kv5d"};
        for (const char* e : examples) {
            fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / e, folder_ / e);
            files_.push_back((folder_ / e).string());
        }
        files_.insert(files_.begin() + 2, (folder_ / "missing.kv5d").string());
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    std::vector<std::string> files_;
};

TEST_F(Batch, WorkersGiveTheSameResultsInFileOrder) {
    size_t calls = 0;
    const auto parallel = AnalyseFiles(files_, KORVEL_ENGINE_LIBRARY, 3,
                                       [&](const RunResult&, size_t done, size_t total) {
                                           ++calls;
                                           EXPECT_EQ(done, calls);
                                           EXPECT_EQ(total, 5u);
                                       });
    EXPECT_EQ(calls, 5u);
    const auto serial = AnalyseFiles(files_, KORVEL_ENGINE_LIBRARY, 1, nullptr);
    ASSERT_EQ(parallel.size(), serial.size());
    for (size_t i = 0; i < serial.size(); ++i) {
        EXPECT_EQ(parallel[i].dataFile, fs::absolute(files_[i])) << i;
        EXPECT_EQ(SerialiseResult(parallel[i]), SerialiseResult(serial[i])) << i;
    }
    EXPECT_EQ(parallel[2].status, RunStatus::Failed);
    EXPECT_EQ(parallel[2].message, "no such data file");
    EXPECT_EQ(parallel[3].results.size(), 2u);  // short and long term
    EXPECT_EQ(parallel[4].results.size(), 3u);  // three stages
    for (size_t i : {0, 1, 3, 4}) EXPECT_EQ(parallel[i].status, RunStatus::Analysed) << i;
}

TEST(ResultTransfer, SurvivesTheRoundTrip) {
    RunResult r;
    r.dataFile = "/a b/wall\n1.kv5d";
    r.status = RunStatus::DataError;
    r.message = "ERROR STOP -- STATIONS NOT IN ORDER";
    r.sections = 2;
    r.reportFile = "/a b/wall\n1.kv5o";
    SectionSummary s;
    s.iterations = 7;
    s.closed = false;
    s.offCurves = true;
    s.exceededStations = 3;
    s.deflection = {-1.25e-3, 120.5};
    s.moment = {3.5e5, 222};
    s.shear = {-4370, 276};
    s.lengthUnit = "IN";
    s.forceUnit = "LBS";
    s.momentUnit = "LBS-IN";
    r.results = {s, s};
    EXPECT_EQ(SerialiseResult(DeserialiseResult(SerialiseResult(r))), SerialiseResult(r));
    EXPECT_EQ(DeserialiseResult("").status, RunStatus::Failed);
}

TEST(ResultTransfer, JsonNamesEveryFileAndSection) {
    RunResult ok;
    ok.dataFile = "/w/\"quoted\".kv5d";
    ok.status = RunStatus::Analysed;
    SectionSummary s;
    s.iterations = 2;
    s.deflection = {1.86, 0};
    ok.results = {s};
    RunResult bad;
    bad.dataFile = "/w/missing.kv5d";
    bad.message = "no such data file";
    const std::string json = ResultsJson({ok, bad}, 0.5);
    EXPECT_NE(json.find("\"files\": 2"), std::string::npos);
    EXPECT_NE(json.find("\"failures\": 1"), std::string::npos);
    EXPECT_NE(json.find("\"file\": \"/w/\\\"quoted\\\".kv5d\""), std::string::npos);
    const size_t at = json.find("\"max_deflection\": {");
    ASSERT_NE(at, std::string::npos) << json;
    EXPECT_EQ(json.find("\"value\": 1.86,", at), json.find("\"value\":", at)) << json;
    EXPECT_NE(json.find("\"status\": \"failed\",\n      \"message\": \"no such data file\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"schema_version\": 1,"), std::string::npos);
}

}  // namespace
}  // namespace korvel::cli
