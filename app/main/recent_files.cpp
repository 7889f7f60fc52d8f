#include "main/recent_files.h"

#include <algorithm>

namespace korvel {

bool TRecentFiles::Add(const QString& path) {
    if (slots_[0] == path) return false;
    auto found = std::find(slots_.begin() + 1, slots_.end(), path);
    // Found: rotate slots 0..found; not found: rotate everything, dropping slot 9.
    auto last = found == slots_.end() ? slots_.end() - 1 : found;
    std::rotate(slots_.begin(), last, last + 1);
    slots_[0] = path;
    return true;
}

int TRecentFiles::Count() const {
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const QString& s) { return !s.isEmpty(); }));
}

QString TRecentFiles::Caption(int index, const QString& current_folder) const {
    QString path = slots_.at(index);
    if (!current_folder.isEmpty()) {
        QString folder = current_folder;
        if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
        const qsizetype at = path.indexOf(folder);
        if (at >= 0) path = path.mid(at + folder.size());
    }
    path.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QString::number(index + 1) + QLatin1Char(' ') + path;
}

}  // namespace korvel
