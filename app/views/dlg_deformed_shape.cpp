#include "views/dlg_deformed_shape.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "entry/number_format.h"
#include "views/factor_ladder.h"
#include "views/view_state.h"

namespace korvel {

namespace {
// The program's general number format, as in the entry boxes of the data dialogs.
QString General(double v) {
    return FormatGeneral(v, kFileDigits);
}
}  // namespace

TDlgDeformedShape::TDlgDeformedShape(TDeformedSettings& settings,
                                     std::function<void()> redraw_complete, QWidget* parent)
    : QDialog(parent), settings_(settings), redraw_complete_(std::move(redraw_complete)) {
    setObjectName(QStringLiteral("DlgDeformedShape"));
    setWindowTitle(QStringLiteral("Deformed Shape"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    CheckBoxDeformedShape = new QCheckBox(QStringLiteral("Show Deformed Shape"), this);
    CheckBoxDeformedShape->setObjectName(QStringLiteral("CheckBoxDeformedShape"));
    CheckBoxUndeformedModel = new QCheckBox(QStringLiteral("Show Undeformed Model"), this);
    CheckBoxUndeformedModel->setObjectName(QStringLiteral("CheckBoxUndeformedModel"));
    Label1 = new QLabel(QStringLiteral("Deformed Shape Factor"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    EditDefFactor = new QLineEdit(this);
    EditDefFactor->setObjectName(QStringLiteral("EditDefFactor"));
    auto* updown = new QWidget(this);
    updown->setObjectName(QStringLiteral("UpDownDefFactor"));
    UpDownDefFactorUp = new QToolButton(updown);
    UpDownDefFactorUp->setObjectName(QStringLiteral("UpDownDefFactorUp"));
    UpDownDefFactorUp->setArrowType(Qt::UpArrow);
    UpDownDefFactorDown = new QToolButton(updown);
    UpDownDefFactorDown->setObjectName(QStringLiteral("UpDownDefFactorDown"));
    UpDownDefFactorDown->setArrowType(Qt::DownArrow);
    auto* arrows = new QVBoxLayout(updown);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(UpDownDefFactorUp);
    arrows->addWidget(UpDownDefFactorDown);
    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));

    auto* factor_row = new QHBoxLayout;
    factor_row->addWidget(EditDefFactor);
    factor_row->addWidget(updown);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckBoxDeformedShape);
    layout->addWidget(CheckBoxUndeformedModel);
    layout->addWidget(Label1);
    layout->addLayout(factor_row);
    layout->addWidget(Button1);

    OnEntryError = [this](const QString& message) {
        QMessageBox::critical(this, QStringLiteral("Error"), message);
    };

    connect(CheckBoxDeformedShape, &QCheckBox::clicked, this, [this](bool checked) {
        settings_.DeformedShape = checked;
        EnablingRule();
        redraw_complete_();
    });
    connect(CheckBoxUndeformedModel, &QCheckBox::clicked, this, [this](bool checked) {
        settings_.UndeformedModel = checked;
        redraw_complete_();
    });
    connect(EditDefFactor, &QLineEdit::textChanged, this, &TDlgDeformedShape::EditDefFactorChange);
    connect(UpDownDefFactorUp, &QToolButton::clicked, this, [this] { UpDownDefFactorClick(true); });
    connect(UpDownDefFactorDown, &QToolButton::clicked, this,
            [this] { UpDownDefFactorClick(false); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::close);

    FormActivate();
}

bool TDlgDeformedShape::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(e);
}

void TDlgDeformedShape::FormActivate() {
    factor_ = settings_.Factor;
    {
        const QSignalBlocker block(EditDefFactor);
        EditDefFactor->setText(General(factor_));
    }
    CheckBoxDeformedShape->setChecked(settings_.DeformedShape);
    CheckBoxUndeformedModel->setChecked(settings_.UndeformedModel);
    updown_position_ = 0;
    EnablingRule();
}

void TDlgDeformedShape::EnablingRule() {
    const bool on = CheckBoxDeformedShape->isChecked();
    CheckBoxUndeformedModel->setEnabled(on);
    EditDefFactor->setEnabled(on);
    UpDownDefFactorUp->setEnabled(on);
    UpDownDefFactorDown->setEnabled(on);
}

void TDlgDeformedShape::EditDefFactorChange(const QString& text) {
    if (text.isEmpty()) return;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok) {
        // The factor keeps its previous value.
        if (OnEntryError)
            OnEntryError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        return;
    }
    factor_ = value;
    redraw_complete_();
    settings_.Factor = factor_;
}

void TDlgDeformedShape::UpDownDefFactorClick(bool up) {
    updown_position_ = up ? 1 : -1;
    factor_ = StepDeformedFactor(factor_, updown_position_ > 0);
    EditDefFactor->setText(General(factor_));  // its change event sets the view's factor
    updown_position_ = 0;
    redraw_complete_();
}

}  // namespace korvel
