#include "run/control_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <system_error>

namespace korvel::engine {
namespace {

constexpr size_t kVersionWidth = 12;
constexpr size_t kIdentificationWidth = 256;

bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

int LeadingInteger(const std::string& text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return 0;
    if (text[start] == '+') ++start;
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    (void)ptr;
    return ec == std::errc() ? value : 0;
}

}  // namespace

std::filesystem::path FindIgnoringCase(const std::filesystem::path& folder,
                                       const std::string& name) {
    std::error_code ec;
    if (std::filesystem::exists(folder / name, ec)) return folder / name;
    const std::string wanted = Lower(name);
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (Lower(it->path().filename().string()) == wanted) return it->path();
    }
    return folder / name;
}

ControlFile ReadControlFile(const std::filesystem::path& path) {
    ControlFile control;
    control.version.assign(kVersionWidth, ' ');
    std::ifstream in(path, std::ios::binary);
    if (!in) return control;

    std::string line;
    if (ReadLine(in, line)) {
        line.resize(kVersionWidth, ' ');
        control.version = line;
    }
    if (ReadLine(in, line)) control.identification1 = line.substr(0, kIdentificationWidth);
    if (ReadLine(in, line)) control.identification2 = line.substr(0, kIdentificationWidth);
    if (ReadLine(in, line)) control.identificationNumber = LeadingInteger(line);

    // Paths are read whole: Linux paths may be longer than the 255 characters of old.
    for (std::string* target :
         {&control.dataPath, &control.reportPath, &control.plotPath, &control.notesPath}) {
        if (!ReadLine(in, line)) return control;
        *target = line.substr(0, line.find_last_not_of(" \t") + 1);
    }
    control.complete = true;
    return control;
}

}  // namespace korvel::engine
