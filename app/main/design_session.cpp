#include "main/design_session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "design/design_checks.h"
#include "design/design_table.h"
#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "main/file_names.h"
#include "main/main_prompts.h"
#include "project/program_data.h"

namespace korvel {

namespace d = korvel::design;

namespace {

QDoubleSpinBox* Spin(double value, double low, double high, int decimals) {
    auto* box = new QDoubleSpinBox;
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setValue(value);
    return box;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

TDesignDialog::TDesignDialog(const d::TSectionCatalogue& catalogue, const d::TDesignChoices& c,
                             int unitSystem, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Section and Checks"));
    setObjectName(QStringLiteral("DesignDialog"));
    section_ = new QComboBox;
    section_->setObjectName(QStringLiteral("DesignSection"));
    for (const auto& s : catalogue.Sections()) section_->addItem(Q(s.name));
    grade_ = new QComboBox;
    grade_->setObjectName(QStringLiteral("DesignGrade"));
    for (const auto& g : catalogue.Grades()) grade_->addItem(Q(g.name));
    code_ = new QComboBox;
    code_->setObjectName(QStringLiteral("DesignCode"));
    for (auto code : {d::TDesignCode::EN1993_5, d::TDesignCode::ASD, d::TDesignCode::LRFD})
        code_->addItem(QLatin1String(d::CodeName(code)));
    if (const auto* s = catalogue.FindSection(c.section)) section_->setCurrentText(Q(s->name));
    if (const auto* g = catalogue.FindGrade(c.grade)) grade_->setCurrentText(Q(g->name));
    code_->setCurrentText(QLatin1String(d::CodeName(c.code)));
    gamma_ = Spin(c.gammaM0, 0.5, 2.0, 3);
    beta_ = Spin(c.betaB, 0.1, 1.0, 3);
    asd_ = Spin(c.asdFraction, 0.1, 1.0, 3);
    asd_shear_ = Spin(c.asdShearFraction, 0.1, 1.0, 3);
    phi_f_ = Spin(c.phiFlexure, 0.1, 1.0, 3);
    phi_v_ = Spin(c.phiShear, 0.1, 1.0, 3);
    limit_kind_ = new QComboBox;
    limit_kind_->addItems({QStringLiteral("No deflection limit"),
                           QStringLiteral("Absolute limit (length unit)"),
                           QStringLiteral("Fraction of the free height")});
    limit_kind_->setCurrentIndex(static_cast<int>(c.deflectionLimit));
    limit_ = Spin(c.deflectionValue, 0.0, 1.0e6, 5);
    capacity_ = Spin(c.tiebackCapacity, 0.0, 1.0e12, 2);
    set_ei_ = new QCheckBox(QStringLiteral("Set the wall's EI from the section"));
    set_ei_->setObjectName(QStringLiteral("DesignSetEI"));
    ei_width_ = Spin(unitSystem == 1 ? 12.0 : 1.0, 0.001, 1.0e6, 3);
    ei_width_->setObjectName(QStringLiteral("DesignEIWidth"));

    auto* form = new QFormLayout;
    const QString length = unitSystem == 1 ? QStringLiteral("in") : QStringLiteral("m");
    const QString force = unitSystem == 1 ? QStringLiteral("lbs") : QStringLiteral("kN");
    form->addRow(QStringLiteral("Section:"), section_);
    form->addRow(QStringLiteral("Steel grade:"), grade_);
    form->addRow(QStringLiteral("Code:"), code_);
    form->addRow(QStringLiteral("EN 1993-5 gamma_M0:"), gamma_);
    form->addRow(QStringLiteral("EN 1993-5 beta_B (U-sections):"), beta_);
    form->addRow(QStringLiteral("ASD allowable bending stress / fy:"), asd_);
    form->addRow(QStringLiteral("ASD allowable shear stress / fy:"), asd_shear_);
    form->addRow(QStringLiteral("LRFD phi, flexure:"), phi_f_);
    form->addRow(QStringLiteral("LRFD phi, shear:"), phi_v_);
    form->addRow(QStringLiteral("Deflection limit:"), limit_kind_);
    form->addRow(QStringLiteral("Limit value:"), limit_);
    form->addRow(QStringLiteral("Tieback capacity per anchor (%1, 0: none):").arg(force),
                 capacity_);
    form->addRow(set_ei_);
    form->addRow(QStringLiteral("Wall width for EI (%1):").arg(length), ei_width_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

d::TDesignChoices TDesignDialog::Choices() const {
    d::TDesignChoices c;
    c.section = section_->currentText().toStdString();
    c.grade = grade_->currentText().toStdString();
    d::ParseCode(code_->currentText().toStdString(), c.code);
    c.gammaM0 = gamma_->value();
    c.betaB = beta_->value();
    c.asdFraction = asd_->value();
    c.asdShearFraction = asd_shear_->value();
    c.phiFlexure = phi_f_->value();
    c.phiShear = phi_v_->value();
    c.deflectionLimit = static_cast<d::TDeflectionLimit>(limit_kind_->currentIndex());
    c.deflectionValue = limit_->value();
    c.tiebackCapacity = capacity_->value();
    return c;
}

std::optional<double> TDesignDialog::StiffnessWidth() const {
    if (!set_ei_->isChecked()) return std::nullopt;
    return ei_width_->value();
}

TDesignChecksWindow::TDesignChecksWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Design Checks"));
    setObjectName(QStringLiteral("DesignChecks"));
    table_ = new QTableWidget(this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    notes_ = new QLabel(this);
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(notes_);
    resize(1000, 360);
}

void TDesignChecksWindow::ShowRun(const QString& dataFile, const d::TSectionCatalogue& catalogue,
                                  const d::TDesignChoices& choices) {
    const d::TDesignRun run = d::CheckRun(
        dataFile.toStdString(), ChangeFileExt(dataFile, QStringLiteral(".kv5o")).toStdString(),
        catalogue, choices);
    const auto header = d::CheckTableHeader();
    const auto rows = d::CheckTableRows(run);
    table_->clear();
    table_->setColumnCount(static_cast<int>(header.size()));
    table_->setRowCount(static_cast<int>(rows.size()));
    QStringList titles;
    for (const auto& h : header) titles << Q(h);
    table_->setHorizontalHeaderLabels(titles);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int col = 0; col < static_cast<int>(rows[r].size()); ++col) {
            auto* item = new QTableWidgetItem(Q(rows[r][col]));
            if (col + 1 == static_cast<int>(rows[r].size())) {
                item->setForeground(rows[r][col] == "OK" ? Qt::darkGreen : Qt::red);
            }
            table_->setItem(r, col, item);
        }
    }
    table_->resizeColumnsToContents();
    QStringList lines;
    for (const auto& line : d::CheckTableNotes(run)) lines << Q(line);
    notes_->setText(lines.join(QLatin1Char('\n')));
}

TDesignSession::TDesignSession(TProgramData& project, TProgramTables& tables)
    : project_(project), tables_(tables) {
    reset_connection_ =
        QObject::connect(&project_, &TProgramData::aboutToReset, [this] { reset_ = true; });
}

TDesignSession::~TDesignSession() {
    QObject::disconnect(reset_connection_);
}

void TDesignSession::ProjectChanged() {
    if (!reset_) return;
    reset_ = false;
    choices_ = {};
    has_choices_ = false;
    if (window_) window_->close();
    if (project_.FileName == QLatin1String(kNewProjectName)) return;
    try {
        has_choices_ = d::ReadDesignFile(project_.FileName.toStdString(), choices_);
    } catch (const d::EDesignFileError& e) {
        TMainPrompts::Current().Information(nullptr, Q(e.what()));
    }
}

void TDesignSession::Saved() {
    if (!has_choices_) return;
    try {
        d::WriteDesignFile(project_.FileName.toStdString(), choices_);
    } catch (const d::EDesignFileError& e) {
        TMainPrompts::Current().Information(nullptr, Q(e.what()));
    }
}

bool TDesignSession::LoadCatalogue(QWidget* parent) {
    if (catalogue_) return true;
    try {
        catalogue_ = d::TSectionCatalogue::Load(d::CatalogueFile(d::ProgramFolder()));
    } catch (const d::ECatalogueError& e) {
        TMainPrompts::Current().Information(parent, Q(e.what()));
        return false;
    }
    return true;
}

void TDesignSession::ShowDialog(QWidget* parent) {
    if (!LoadCatalogue(parent)) return;
    TDesignDialog dialog(*catalogue_, choices_, project_.UnitSystem(), parent);
    if (dialog.exec() != QDialog::Accepted) return;
    const d::TDesignChoices chosen = dialog.Choices();
    if (!has_choices_ || !(chosen == choices_)) {
        choices_ = chosen;
        has_choices_ = true;
        project_.SetModified(true);  // saved with the project, so the save prompt covers it
    }
    if (const auto width = dialog.StiffnessWidth()) ApplyWallStiffness(*width);
    if (window_) window_->ShowRun(project_.FileName, *catalogue_, choices_);
}

void TDesignSession::SetChoices(const d::TDesignChoices& choices) {
    choices_ = choices;
    has_choices_ = true;
}

bool TDesignSession::ApplyWallStiffness(double width) {
    if (!LoadCatalogue(nullptr)) return false;
    const auto* section = catalogue_->FindSection(choices_.section);
    const auto* grade = catalogue_->FindGrade(choices_.grade);
    if (!section || !grade) return false;
    const double ei = d::WallStiffness(*section, *grade, project_.UnitSystem(), width);
    TGridTable& stiffness = *tables_.PileSect;
    for (int row = 0; row < stiffness.RowCount(); ++row) {
        stiffness.Cell(3, row).SetAsFloat(static_cast<long double>(ei));
    }
    project_.SetModified(true);
    return true;
}

void TDesignSession::ShowChecks(QWidget* parent) {
    if (!has_choices_) {
        TMainPrompts::Current().Information(
            parent, QStringLiteral("Choose a section first (Design, Section and Checks)."));
        return;
    }
    if (!LoadCatalogue(parent)) return;
    if (!window_) window_ = new TDesignChecksWindow(parent);
    window_->ShowRun(project_.FileName, *catalogue_, choices_);
    window_->show();
    window_->raise();
}

}  // namespace korvel
