#include "graphs/save_attributes_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

namespace korvel {
namespace {

constexpr double kMinInches = 2;
constexpr double kMaxInches = 100;
constexpr int kMinPixelsPerInch = 10;
constexpr int kMaxPixelsPerInch = 2400;

}  // namespace

TSaveAttributesDialog::TSaveAttributesDialog(QWidget* parent)
    : QDialog(parent),
      height_(new QDoubleSpinBox(this)),
      width_(new QDoubleSpinBox(this)),
      ppi_(new QSpinBox(this)) {
    setWindowTitle(QStringLiteral("Save Attributes"));
    height_->setObjectName(QStringLiteral("Height"));
    width_->setObjectName(QStringLiteral("Width"));
    ppi_->setObjectName(QStringLiteral("PixelsPerInch"));
    for (QDoubleSpinBox* box : {height_, width_}) {
        box->setRange(kMinInches, kMaxInches);
        box->setDecimals(2);
    }
    ppi_->setRange(kMinPixelsPerInch, kMaxPixelsPerInch);
    SetValues(4, 6, 72);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Height (in)"), height_);
    form->addRow(QStringLiteral("&Width (in)"), width_);
    form->addRow(QStringLiteral("&Pixels Per Inch"), ppi_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

double TSaveAttributesDialog::HeightInches() const {
    return height_->value();
}
double TSaveAttributesDialog::WidthInches() const {
    return width_->value();
}
int TSaveAttributesDialog::PixelsPerInch() const {
    return ppi_->value();
}

void TSaveAttributesDialog::SetValues(double height, double width, int ppi) {
    height_->setValue(height);
    width_->setValue(width);
    ppi_->setValue(ppi);
}

}  // namespace korvel
