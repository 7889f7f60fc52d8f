#include "graphs/graph_caption_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "graphs/graph_plot.h"

namespace korvel {

TfrmGraphCaption::TfrmGraphCaption(TGraphPlot& graph, QWidget* parent)
    : QDialog(parent), graph_(graph) {
    setObjectName(QStringLiteral("frmGraphCaption"));
    setWindowTitle(QStringLiteral("Graph Caption"));
    edit_ = new QLineEdit(graph.Title, this);
    edit_->setMinimumWidth(logicalDpiX() * 3);
    auto* place = new QGroupBox(QStringLiteral("Caption Location"), this);
    top_ = new QRadioButton(QStringLiteral("Top"), place);
    bottom_ = new QRadioButton(QStringLiteral("Bottom"), place);
    (graph.TitleOnTop ? top_ : bottom_)->setChecked(true);
    auto* place_layout = new QHBoxLayout(place);
    place_layout->addWidget(top_);
    place_layout->addWidget(bottom_);
    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter Graph Caption"), this));
    layout->addWidget(edit_);
    layout->addWidget(place);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmGraphCaption::done(int result) {
    graph_.Title = edit_->text();
    graph_.TitleOnTop = top_->isChecked();
    QDialog::done(result);
}

}  // namespace korvel
