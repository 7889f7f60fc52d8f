// The design checks in the program: the project's design choices (read with
// the data file from FILE.kv5g, written beside it on every save, so Save As
// copies them with the project), the Design > Section and Checks dialog and
// the Design Checks window. The checks themselves are korvel_design's.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <optional>

#include "design/design_choices.h"
#include "design/section_catalogue.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTableWidget;

namespace korvel {

class TProgramData;
struct TProgramTables;

// Section and Checks: section and grade from the catalogue, the code, its
// factors and the limits; optionally the wall's EI from the section.
class TDesignDialog : public QDialog {
    Q_OBJECT
  public:
    TDesignDialog(const korvel::design::TSectionCatalogue& catalogue,
                  const korvel::design::TDesignChoices& choices, int unitSystem, QWidget* parent);
    korvel::design::TDesignChoices Choices() const;
    // The wall width for which EI is to be set, or nothing when not asked for.
    std::optional<double> StiffnessWidth() const;

  private:
    QComboBox* section_;
    QComboBox* grade_;
    QComboBox* code_;
    QDoubleSpinBox* gamma_;
    QDoubleSpinBox* beta_;
    QDoubleSpinBox* asd_;
    QDoubleSpinBox* asd_shear_;
    QDoubleSpinBox* phi_f_;
    QDoubleSpinBox* phi_v_;
    QComboBox* limit_kind_;
    QDoubleSpinBox* limit_;
    QDoubleSpinBox* capacity_;
    QCheckBox* set_ei_;
    QDoubleSpinBox* ei_width_;
};

// Design Checks: per section (stage) the utilisations and a pass/fail mark,
// read from the data file and the output report on disk.
class TDesignChecksWindow : public QDialog {
    Q_OBJECT
  public:
    explicit TDesignChecksWindow(QWidget* parent);
    void ShowRun(const QString& dataFile, const korvel::design::TSectionCatalogue& catalogue,
                 const korvel::design::TDesignChoices& choices);
    QTableWidget* Table() const { return table_; }
    QLabel* Notes() const { return notes_; }

  private:
    QTableWidget* table_;
    QLabel* notes_;
};

class TDesignSession {
  public:
    TDesignSession(TProgramData& project, TProgramTables& tables);
    ~TDesignSession();
    TDesignSession(const TDesignSession&) = delete;
    TDesignSession& operator=(const TDesignSession&) = delete;

    // After the project changed: when it was created or read anew since the
    // last call, its design file (if any) is read.
    void ProjectChanged();
    // After the data file was written under the project's name.
    void Saved();
    void ShowDialog(QWidget* parent);
    // Sets every row of the wall stiffness table to the EI of `width` of wall
    // in the chosen section and grade; false when the choice is not in the catalogue.
    bool ApplyWallStiffness(double width);
    void SetChoices(const korvel::design::TDesignChoices& choices);
    void ShowChecks(QWidget* parent);
    const korvel::design::TDesignChoices& Choices() const { return choices_; }

  private:
    bool LoadCatalogue(QWidget* parent);

    TProgramData& project_;
    TProgramTables& tables_;
    korvel::design::TDesignChoices choices_;
    bool has_choices_ = false;  // a design file was read or choices were made
    bool reset_ = true;         // the project was created or read since the choices were read
    QMetaObject::Connection reset_connection_;
    std::optional<korvel::design::TSectionCatalogue> catalogue_;
    QPointer<TDesignChecksWindow> window_;
};

}  // namespace korvel
