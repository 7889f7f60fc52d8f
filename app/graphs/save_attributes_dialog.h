// "Save Attributes": the size and resolution of a graph saved as a bitmap.
#pragma once

#include <QDialog>

class QDoubleSpinBox;
class QSpinBox;

namespace korvel {

class TSaveAttributesDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TSaveAttributesDialog(QWidget* parent = nullptr);

    double HeightInches() const;  // at least 2, default 4
    double WidthInches() const;   // at least 2, default 6
    int PixelsPerInch() const;    // at least 10, default 72
    void SetValues(double height, double width, int ppi);

  private:
    QDoubleSpinBox* height_;
    QDoubleSpinBox* width_;
    QSpinBox* ppi_;
};

}  // namespace korvel
