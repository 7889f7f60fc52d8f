// The plot-data reader on arbitrary bytes, read as after a run into fresh graphs
// and the results of one of the graph tests' projects (English and SI units,
// one to three result sets, a long-term pair), chosen by the input's length.
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "entry/table_definitions.h"
#include "graphs/plot_file_reader.h"
#include "graphs/result_plots.h"
#include "project/program_data.h"

namespace {

struct TFuzzProject {
    korvel::TProgramTables Tables;
    korvel::TProgramData Project{Tables};
};

std::vector<std::unique_ptr<TFuzzProject>> OpenProjects() {
    std::vector<std::unique_ptr<TFuzzProject>> projects;
    for (const char* name :
         {"sand_cantilever_py_english", "cohesive_tension_english", "short_long_term_si",
          "three_stages_english", "user_py_curves_english"}) {
        auto p = std::make_unique<TFuzzProject>();
        p->Project.CreateFromFile(
            QStringLiteral(KORVEL_GRAPH_DATA "/%1.kv5d").arg(QLatin1String(name)));
        projects.push_back(std::move(p));
    }
    return projects;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<std::unique_ptr<TFuzzProject>> projects = OpenProjects();
    static const QString path =
        QDir::temp().filePath(QStringLiteral("korvel_fuzz_plot_%1.kv5p").arg(getpid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    korvel::TResultPlots graphs;
    korvel::ReadPlotFile(path, true, graphs, projects[size % projects.size()]->Project);
    return 0;
}
