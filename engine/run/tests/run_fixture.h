// A scratch folder with a control file and a data file, for running the
// engine on small hand-written inputs.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run/analysis.h"

namespace korvel::engine::testing {

class ScratchRun {
  public:
    ScratchRun() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvel-test-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
    }
    ~ScratchRun() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path Path(const std::string& name) const { return folder_ / name; }

    void WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }

    // Writes names.dat for data file "wall.kv5d" in the folder.
    void WriteControlFile(const std::string& version = "2015.5.1") const {
        std::ostringstream c;
        c << version << "\r\nTest Engineer\r\nKorvel, Testing\r\n7\r\n"
          << Path("wall.kv5d").string() << "\r\n"
          << Path("wall.kv5o").string() << "\r\n"
          << Path("wall.kv5p").string() << "\r\n"
          << Path("wall.kv5r").string() << "\r\n";
        WriteFile("names.dat", c.str());
    }

    // Runs the engine on `data` as "wall.kv5d"; returns the report.
    std::string Run(const std::string& data, const std::string& version = "2015.5.1") {
        WriteFile("wall.kv5d", data);
        WriteControlFile(version);
        std::ostringstream err;
        status = RunAnalysis(folder_, err);
        errors = err.str();
        return Read("wall.kv5o");
    }

    std::string Read(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    int status = -1;
    std::string errors;

  private:
    std::filesystem::path folder_;
};

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// A data file section from its lines, CR LF ended as the program writes them.
inline std::string DataFile(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace korvel::engine::testing
