#include "main/placeholder_window.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

TPlaceholderWindow::TPlaceholderWindow(const QString& caption, const QString& note,
                                       const std::vector<TTableButton>& tables, QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(note, this);
    label->setWordWrap(true);
    layout->addWidget(label);
    for (const auto& [text, open] : tables) {
        auto* button = new QPushButton(text, this);
        connect(button, &QPushButton::clicked, this, open);
        layout->addWidget(button);
    }
    layout->addStretch();
    resize(380, 140 + 32 * static_cast<int>(tables.size()));
}

}  // namespace korvel
