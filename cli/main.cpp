// korvel-run: analyses data files through the engine library, one after the
// other, for batch work and automation.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "batch_run.h"
#include "engine_binding.h"

namespace {

constexpr const char* kUsage =
    "Usage: korvel-run [--engine LIBRARY] FILE.kv5d...\n"
    "\n"
    "Analyses each data file with the KORVEL engine and writes the output report\n"
    "(.kv5o), the plot data file (.kv5p) and the run notes (.kv5r) beside it.\n"
    "Prints one line per file. Exits with 0 when every file was analysed, with 1\n"
    "when a file is missing, could not be analysed or its report ends on an error\n"
    "in the data, and with 2 on wrong usage.\n"
    "\n"
    "Options:\n"
    "  --engine LIBRARY  the engine library to use (default: libKorvel2015_DLL.so\n"
    "                    next to korvel-run)\n"
    "  -h, --help        show this text\n";

}  // namespace

int main(int argc, char** argv) {
    using korvel::cli::RunStatus;
    std::string engine = korvel::cli::DefaultEnginePath();
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--engine") {
            if (++i == argc) {
                std::cerr << "korvel-run: --engine needs a library path\n" << kUsage;
                return 2;
            }
            engine = argv[i];
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "korvel-run: unknown option " << arg << "\n" << kUsage;
            return 2;
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::cerr << kUsage;
        return 2;
    }

    int failures = 0;
    for (const std::string& file : files) {
        const auto result = korvel::cli::AnalyseFile(file, engine);
        const auto describeSections = [&] {
            for (size_t i = 0; i < result.results.size(); ++i) {
                std::cout << "  section " << i + 1 << ": "
                          << korvel::cli::DescribeSection(result.results[i]) << '\n';
            }
        };
        switch (result.status) {
            case RunStatus::Analysed:
                std::cout << file << ": analysed, " << result.sections << " section(s); report "
                          << result.reportFile.string() << '\n';
                describeSections();
                break;
            case RunStatus::DataError:
                ++failures;
                std::cout << file << ": ended on an error in the data: " << result.message
                          << "; report " << result.reportFile.string() << '\n';
                describeSections();
                break;
            case RunStatus::Failed:
                ++failures;
                std::cout << file << ": not analysed: " << result.message << '\n';
                break;
        }
    }
    return failures == 0 ? 0 : 1;
}
