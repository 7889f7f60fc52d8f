#include "report/plot_py_sets.h"

#include <QFile>
#include <cmath>
#include <cstdlib>
#include <string>

namespace korvel {
namespace {

class TNumbers {
  public:
    explicit TNumbers(const QByteArray& text) : text_(text.toStdString()) {}
    bool Real(double& value) {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
        if (at_ >= text_.size()) return false;
        const char* begin = text_.c_str() + at_;
        char* end = nullptr;
        value = std::strtod(begin, &end);
        if (end == begin) return false;
        at_ += static_cast<size_t>(end - begin);
        return true;
    }
    bool Count(int& value, int limit) {
        double v = 0;
        if (!Real(v) || v < 0 || v > limit || v != std::floor(v)) return false;
        value = static_cast<int>(v);
        return true;
    }
    bool Skip(long count) {
        double v = 0;
        for (long i = 0; i < count; ++i) {
            if (!Real(v)) return false;
        }
        return true;
    }

  private:
    std::string text_;
    size_t at_ = 0;
};

constexpr int kLimit = 100000;

}  // namespace

namespace {

struct TBlocks {
    std::vector<std::vector<TPYCurveData>> Curves;
    std::vector<TPressureRows> Pressures;
};

TBlocks ParseBlocks(const QByteArray& text) {
    TNumbers in(text);
    TBlocks out;
    std::vector<std::vector<TPYCurveData>>& sets = out.Curves;
    int blocks = 1;
    for (int block = 0; block < blocks; ++block) {
        int rows = 0, units = 0, curves = 0, set_count = 0, nodes = 0;
        if (!in.Count(rows, kLimit)) return {};
        TPressureRows pressure;
        for (int r = 0; r < rows; ++r) {
            double depth = 0, total = 0;
            if (!in.Real(depth) || !in.Real(total) || !in.Skip(2)) return {};
            pressure.emplace_back(depth, total);
        }
        out.Pressures.push_back(std::move(pressure));
        if (!in.Count(units, kLimit) || !in.Count(curves, kLimit)) return {};
        std::vector<TPYCurveData> set;
        for (int c = 0; c < curves; ++c) {
            TPYCurveData curve;
            int points = 0;
            if (!in.Real(curve.Label) || !in.Count(points, kLimit)) return {};
            for (int j = 0; j < points; ++j) {
                double y = 0, p = 0;
                if (!in.Real(y) || !in.Real(p)) return {};
                curve.Points.emplace_back(y, p);
            }
            set.push_back(std::move(curve));
        }
        if (!in.Count(set_count, 1000) || !in.Count(nodes, kLimit) || !in.Skip(1) ||
            !in.Skip(5L * nodes))
            return {};
        if (block == 0) blocks = std::max(1, set_count);
        sets.push_back(std::move(set));
    }
    return out;
}

}  // namespace

std::vector<std::vector<TPYCurveData>> ParsePYSets(const QByteArray& text) {
    return ParseBlocks(text).Curves;
}

std::vector<TPressureRows> ParsePressureSets(const QByteArray& text) {
    return ParseBlocks(text).Pressures;
}

std::vector<TPressureRows> ReadPressureSets(const QString& plot_file) {
    QFile file(plot_file);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ParsePressureSets(file.readAll());
}

std::vector<std::vector<TPYCurveData>> ReadPYSets(const QString& plot_file) {
    QFile file(plot_file);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ParsePYSets(file.readAll());
}

}  // namespace korvel
