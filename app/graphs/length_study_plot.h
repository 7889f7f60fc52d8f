// The picture of a wall length study: head deflection and maximum moment
// against the wall's length, one curve per section, the critical length marked
// by a vertical line; two graphs of the program's graph painter one above the
// other. Drawn alike into korvel-run's --plot file and the program's Wall
// Length Study window.
#pragma once

#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

class QPainter;

namespace korvel {

// What the picture shows; lengths in the study's length unit.
struct TLengthStudyCurves {
    QString LengthUnit;      // of the wall lengths (the x axis), as the dialogs show them
    QString DeflectionUnit;  // of the head deflection; the length unit when empty
    QString MomentUnit;
    std::vector<double> Lengths;              // the usable lengths, shortest first
    std::vector<std::vector<double>> Head;    // [section][length] head deflection
    std::vector<std::vector<double>> Moment;  // [section][length] maximum moment
    std::optional<double> Critical;           // the critical length
    // Legend text of each section's curve; "Stage: n" where none is given.
    std::vector<QString> SectionNames;
};

// Paints both graphs into size (device pixels at dotsPerInch); the painter's
// origin is the picture's top left corner.
// side_by_side puts the two graphs next to each other instead (a wide, low place).
void PaintLengthStudy(QPainter& painter, const TLengthStudyCurves& curves, const QSizeF& size,
                      double dotsPerInch = 96.0, bool side_by_side = false);

}  // namespace korvel
