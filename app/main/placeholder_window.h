// A small child window standing in for an input dialog or view that this
// version does not have yet: its caption, a note, and buttons that open the
// tables the dialog would lead to.
#pragma once

#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace korvel {

class TPlaceholderWindow : public QWidget {
    Q_OBJECT

  public:
    using TTableButton = std::pair<QString, std::function<void()>>;
    TPlaceholderWindow(const QString& caption, const QString& note,
                       const std::vector<TTableButton>& tables, QWidget* parent = nullptr);
};

}  // namespace korvel
