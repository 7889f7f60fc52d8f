#include "main/length_study_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/dialog_units.h"
#include "entry/entry_errors.h"
#include "entry/units.h"
#include "graphs/length_study_plot.h"
#include "main/main_prompts.h"
#include "project/program_data.h"
#include "project/wall_length.h"
#include "project/wall_length_rules.h"

namespace korvel {
namespace {

constexpr const char* kCaption = "Wall Length Study";
constexpr double kProposedShortest = 0.7;  // of the wall's length, the dialog's first proposal
constexpr double kProposedLongest = 1.5;
constexpr int kProposedSteps = 10;
constexpr int kColumnPadding = 8;  // pixels beside a column's widest text

// The study's lengths (wall lengths, embedments, depths) are asked and shown as
// the data dialogs show depths and the free height: in feet in English projects,
// while the project and korvel-run hold inches.
constexpr const char* kDepthLabel = "L2";

// Upper case as korvel-run's report writes its units ("IN", "M"), beside which they show.
QString LengthUnitText(int system) {
    return UnitText(QLatin1String(kDepthLabel), system, TUnitTextRule::kColumn).toUpper();
}

double ShownLength(double held, int system) {
    return static_cast<double>(ShownValue(held, QLatin1String(kDepthLabel), system));
}

double HeldLength(double shown, int system) {
    return static_cast<double>(HeldValue(shown, QLatin1String(kDepthLabel), system));
}

// Four significant digits, as korvel-run's table prints them.
QString Figure(double v) {
    return QString::asprintf("%.4g", v);
}

QString Length(double v) {
    return QString::number(v, 'g', 6);
}

// The section that governs a length: the one with the least embedment (the
// deepest excavation of a staged project). Index 0 when there are none.
size_t GoverningSection(const TStudyLengthResult& r) {
    size_t best = 0;
    for (size_t k = 1; k < r.Sections.size(); ++k)
        if (r.Sections[k].Embedment < r.Sections[best].Embedment) best = k;
    return best;
}

}  // namespace

// --- The plot -------------------------------------------------------------------------

class TLengthStudyPlot : public QWidget {
  public:
    explicit TLengthStudyPlot(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("LengthStudyPlot"));
        setMinimumSize(480, 240);
    }
    void SetCurves(TLengthStudyCurves curves) {
        curves_ = std::move(curves);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // Below the table, wide and low: the two graphs side by side.
        PaintLengthStudy(painter, curves_, QSizeF(size()), logicalDpiX(), true);
    }

  private:
    TLengthStudyCurves curves_;
};

// --- The dialog -----------------------------------------------------------------------

TDlgLengthStudy::TDlgLengthStudy(const TProgramData& project, QWidget* parent)
    : QDialog(parent), project_(project) {
    setObjectName(QStringLiteral("DlgLengthStudy"));
    setWindowTitle(QLatin1String(kCaption));
    const double h = static_cast<double>(project.IncrementLength);
    const double length = project.Increments * h;
    const double free = static_cast<double>(project.FreeHeight);
    // Proposals in whole increments around the present wall, all below the
    // excavation and within the increments the wall dialog accepts.
    double from = length, to = length, step = h;
    if (h > 0.0) {
        const double lowest = (std::floor(free / h) + 1.0) * h;
        from = std::max(lowest, std::round(kProposedShortest * length / h) * h);
        to = std::min(std::round(kProposedLongest * length / h) * h, kMaxStudyIncrements * h);
        step = std::max(1.0, std::round((to - from) / kProposedSteps / h)) * h;
        to = from + std::max(1.0, std::floor((to - from) / step)) * step;  // a step lands on it
    }
    const QString unit = LengthUnitText(project.UnitSystem());
    auto* form = new QFormLayout;
    const auto box = [&](const char* name, double value) {
        auto* edit = new QLineEdit(QString::number(value, 'g', 8), this);
        edit->setObjectName(QLatin1String(name));
        return edit;
    };
    const int system = project.UnitSystem();
    from_ = box("From", ShownLength(from, system));
    to_ = box("To", ShownLength(to, system));
    step_ = box("Step", ShownLength(step, system));
    tolerance_ = box("Tolerance", 1.0);
    form->addRow(QStringLiteral("Shortest wall (%1):").arg(unit), from_);
    form->addRow(QStringLiteral("Longest wall (%1):").arg(unit), to_);
    form->addRow(QStringLiteral("Step (%1):").arg(unit), step_);
    form->addRow(QStringLiteral("Tolerance (%):"), tolerance_);
    auto* note = new QLabel(
        QStringLiteral("The wall of the saved data file is analysed at each length; the critical "
                       "length is the shortest from which on the head deflection and the maximum "
                       "moment change by less than the tolerance."),
        this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TDlgLengthStudy::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TDlgLengthStudy::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    resize(420, sizeHint().height());
}

void TDlgLengthStudy::accept() {
    const struct {
        QLineEdit* edit;
        double* value;
        const char* name;
    } fields[] = {{from_, &input_.From, "From"},
                  {to_, &input_.To, "To"},
                  {step_, &input_.Step, "Step"},
                  {tolerance_, &input_.TolerancePercent, "Tolerance"}};
    for (const auto& f : fields) {
        bool ok = false;
        *f.value = QLocale::c().toDouble(f.edit->text().trimmed(), &ok);
        if (!ok) {
            TMainPrompts::Current().Information(this,
                                                QStringLiteral("%1: \"%2\" is not a number.")
                                                    .arg(QLatin1String(f.name), f.edit->text()));
            f.edit->setFocus();
            return;
        }
    }
    // Held as korvel-run and the project take them, converted by the exact factor.
    const int system = project_.UnitSystem();
    const TLengthStudyInput shown = input_;
    input_.From = HeldLength(shown.From, system);
    input_.To = HeldLength(shown.To, system);
    input_.Step = HeldLength(shown.Step, system);
    QString error = CheckLengthStudyInput(input_, StudySections(project_));
    if (!error.isEmpty()) {
        // The same check on the figures as typed, so that the message quotes the
        // dialog's unit; the held check decides.
        std::vector<SectionOutline> sections = StudySections(project_);
        for (SectionOutline& s : sections) {
            s.incrementLength = ShownLength(s.incrementLength, system);
            s.freeHeight = ShownLength(s.freeHeight, system);
        }
        const QString in_shown_unit = CheckLengthStudyInput(shown, sections);
        if (!in_shown_unit.isEmpty()) error = in_shown_unit;
    }
    if (!error.isEmpty()) {
        TMainPrompts::Current().Information(this, error);
        return;
    }
    QDialog::accept();
}

// --- The window -----------------------------------------------------------------------

TLengthStudyWindow* TLengthStudyWindow::Open(QMdiArea* area, TProgramData& project) {
    TDlgLengthStudy dialog(project, area);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    auto* window = new TLengthStudyWindow(project, dialog.Input());
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A usable size within the frame: the table and the plot side by side.
    const QSize room = area->viewport()->size();
    sub->resize(std::min(1400, std::max(room.width() - 20, 600)),
                std::min(900, std::max(room.height() - 20, 480)));
    sub->show();
    // Placed after the open windows, it may stick out of the frame: pulled back in.
    sub->move(std::max(0, std::min(sub->x(), room.width() - sub->width())),
              std::max(0, std::min(sub->y(), room.height() - sub->height())));
    area->setActiveSubWindow(sub);
    window->Start(project.FileName);
    return window;
}

TLengthStudyWindow::TLengthStudyWindow(TProgramData& project, const TLengthStudyInput& input,
                                       QWidget* parent)
    : QWidget(parent), project_(project), input_(input) {
    setObjectName(QStringLiteral("LengthStudyWindow"));
    setWindowTitle(QLatin1String(kCaption));
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 0);  // busy: korvel-run tells no progress
    progress_->setVisible(false);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("LengthStudyTable"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    plot_ = new TLengthStudyPlot(this);
    // The table over the window's whole width, so that every column shows in
    // full; the plot below it.
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(table_);
    splitter->addWidget(plot_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    critical_ = new QLabel(this);
    critical_->setObjectName(QStringLiteral("CriticalLength"));
    critical_->setWordWrap(true);
    QFont bold = critical_->font();
    bold.setBold(true);
    critical_->setFont(bold);
    notes_ = new QLabel(this);
    notes_->setWordWrap(true);
    notes_->setVisible(false);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StudyStatus"));
    status_->setWordWrap(true);
    set_selected_ = new QPushButton(QStringLiteral("Set Wall to Selected Length"), this);
    set_selected_->setObjectName(QStringLiteral("SetSelectedLength"));
    set_critical_ = new QPushButton(QStringLiteral("Set Wall to Critical Length"), this);
    set_critical_->setObjectName(QStringLiteral("SetCriticalLength"));
    set_selected_->setEnabled(false);
    set_critical_->setEnabled(false);
    connect(set_selected_, &QPushButton::clicked, this, &TLengthStudyWindow::SetSelectedLength);
    connect(set_critical_, &QPushButton::clicked, this, &TLengthStudyWindow::SetCriticalLength);
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
        set_selected_->setEnabled(!result_.Rows.empty() && table_->currentRow() >= 0);
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(set_selected_);
    buttons->addWidget(set_critical_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(progress_);
    layout->addWidget(splitter, 1);
    layout->addWidget(critical_);
    layout->addWidget(notes_);
    layout->addLayout(buttons);
    layout->addWidget(status_);
}

TLengthStudyWindow::~TLengthStudyWindow() {
    // A study still running when the window closes is stopped; its folder goes.
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->disconnect(this);
        process_->kill();
        process_->waitForFinished(2000);
    }
}

bool TLengthStudyWindow::Running() const {
    return process_ && process_->state() != QProcess::NotRunning;
}

void TLengthStudyWindow::Start(const QString& dataFile) {
    data_file_ = dataFile;
    const QString unit = LengthUnitText(project_.UnitSystem());
    const auto shown = [this](double held) {
        return Length(ShownLength(held, project_.UnitSystem()));
    };
    heading_->setText(QStringLiteral("Wall length study of %1: lengths from %2 to %3 %4, step "
                                     "%5 %4, tolerance %6 %")
                          .arg(QFileInfo(dataFile).fileName(), shown(input_.From), shown(input_.To),
                               unit, shown(input_.Step), Length(input_.TolerancePercent)));
    folder_ = std::make_unique<QTemporaryDir>();
    if (!folder_->isValid()) {
        Failed(QStringLiteral("The study cannot be made: no temporary folder (%1).")
                   .arg(folder_->errorString()));
        return;
    }
    const QString program = KorvelRunPath();
    if (!QFileInfo(program).isExecutable()) {
        Failed(QStringLiteral("The study cannot be made: \"%1\" is missing beside the program.")
                   .arg(program));
        return;
    }
    process_ = new QProcess(this);
    connect(process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        if (status == QProcess::CrashExit) {
            Failed(QStringLiteral("The study stopped: korvel-run crashed."));
            return;
        }
        Finished(exitCode);
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Failed(QStringLiteral("The study cannot be made: korvel-run did not start (%1).")
                       .arg(process_->errorString()));
    });
    progress_->setVisible(true);
    status_->setText(QStringLiteral("Analysing the wall at each length..."));
    setCursor(Qt::BusyCursor);
    process_->start(
        program,
        LengthStudyArguments(input_, folder_->filePath(QStringLiteral("study.json")), dataFile));
}

void TLengthStudyWindow::Failed(const QString& text) {
    progress_->setVisible(false);
    unsetCursor();
    status_->setText(text);
    TMainPrompts::Current().Information(this, text);
    Q_EMIT finished();
}

void TLengthStudyWindow::Finished(int exitCode) {
    progress_->setVisible(false);
    unsetCursor();
    const QString messages = QString::fromLocal8Bit(process_->readAllStandardError()).trimmed();
    QFile json(folder_->filePath(QStringLiteral("study.json")));
    QString error;
    // Exit code 1 with a table: some lengths could not be analysed, and say so.
    if ((exitCode != 0 && exitCode != 1) || !json.open(QIODevice::ReadOnly) ||
        !ReadLengthStudyJson(json.readAll(), result_, error)) {
        QString text = QStringLiteral("The study could not be made.");
        if (!messages.isEmpty())
            text += QStringLiteral("\r") + messages;
        else if (!error.isEmpty())
            text += QStringLiteral("\r") + error;
        Failed(text);
        return;
    }
    Fill();
    status_->setText(messages.isEmpty()
                         ? QStringLiteral("Choose a length in the table to set the project's "
                                          "wall to it.")
                         : messages);
    Q_EMIT finished();
}

QString TLengthStudyWindow::SectionName(size_t k) const {
    // Named as the result graphs name their sets.
    if (project_.LongTermAnalysis)
        return k == 0 ? QStringLiteral("Short-Term") : QStringLiteral("Long-Term");
    return QStringLiteral("Stage: %1").arg(k + 1);
}

void TLengthStudyWindow::Fill() {
    // Wall lengths, embedments and depths in the dialogs' unit; deflections as reported.
    const int system = project_.UnitSystem();
    const QString D = LengthUnitText(system);
    const auto depth = [system](double held) { return Length(ShownLength(held, system)); };
    const QString L = result_.LengthUnit, F = result_.ForceUnit, M = result_.MomentUnit;
    const QStringList headers = {QStringLiteral("Length\n%1").arg(D),
                                 QStringLiteral("Embedment\n%1").arg(D),
                                 QStringLiteral("Stage"),
                                 QStringLiteral("Iterations"),
                                 QStringLiteral("Ending"),
                                 QStringLiteral("Head defl.\n%1").arg(L),
                                 QStringLiteral("Toe defl.\n%1").arg(L),
                                 QStringLiteral("Max moment\n%1").arg(M),
                                 QStringLiteral("at depth\n%1").arg(D),
                                 QStringLiteral("Max shear\n%1").arg(F),
                                 QStringLiteral("at depth\n%1").arg(D),
                                 QStringLiteral("Tieback forces\n%1").arg(F)};
    table_->clear();
    table_->setColumnCount(static_cast<int>(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    row_of_line_.clear();
    for (size_t i = 0; i < result_.Rows.size(); ++i) {
        const size_t lines = std::max<size_t>(result_.Rows[i].Sections.size(), 1);
        for (size_t k = 0; k < lines; ++k) row_of_line_.push_back(i);
    }
    table_->setRowCount(static_cast<int>(row_of_line_.size()));
    int line = 0;
    for (size_t i = 0; i < result_.Rows.size(); ++i) {
        const TStudyLengthResult& r = result_.Rows[i];
        const bool critical = result_.Critical && *result_.Critical == i;
        const QColor shade = !r.Usable  ? QColor(255, 225, 225)
                             : critical ? QColor(215, 240, 215)
                                        : QColor();
        const auto put = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(column == 4 ? Qt::AlignLeft | Qt::AlignVCenter
                                               : Qt::AlignRight | Qt::AlignVCenter);
            if (shade.isValid()) item->setBackground(shade);
            table_->setItem(line, column, item);
        };
        if (r.Sections.empty()) {
            put(0, depth(r.Length));
            put(4, r.Status);
            ++line;
            continue;
        }
        for (size_t k = 0; k < r.Sections.size(); ++k, ++line) {
            const TStudySectionResult& s = r.Sections[k];
            put(0, k == 0 ? depth(r.Length) : QString());
            put(1, depth(s.Embedment));
            put(2, project_.LongTermAnalysis ? SectionName(k) : QString::number(k + 1));
            put(3, QString::number(s.Iterations));
            put(4, r.Usable || k > 0 ? s.Ending() : r.Status);
            put(5, Figure(s.HeadDeflection));
            put(6, Figure(s.ToeDeflection));
            put(7, Figure(s.MaxMoment));
            put(8, depth(s.MomentDepth));
            put(9, Figure(s.MaxShear));
            put(10, depth(s.ShearDepth));
            QStringList forces;
            for (double f : s.TiebackForces) forces << Figure(f);
            put(11, forces.join(QLatin1Char(' ')));
        }
    }
    table_->resizeColumnsToContents();
    // Room beside each figure, so that no number touches its column's edge.
    for (int c = 0; c < table_->columnCount(); ++c)
        table_->setColumnWidth(c, table_->columnWidth(c) + kColumnPadding);

    TLengthStudyCurves curves;
    curves.LengthUnit = D;
    curves.DeflectionUnit = L;
    curves.MomentUnit = M;
    size_t sections = 0;
    for (const TStudyLengthResult& r : result_.Rows)
        if (r.Usable) sections = std::max(sections, r.Sections.size());
    for (size_t k = 0; k < sections; ++k) curves.SectionNames.push_back(SectionName(k));
    curves.Head.resize(sections);
    curves.Moment.resize(sections);
    for (const TStudyLengthResult& r : result_.Rows) {
        if (!r.Usable) continue;
        curves.Lengths.push_back(ShownLength(r.Length, system));
        for (size_t k = 0; k < sections; ++k) {
            const bool has = k < r.Sections.size();
            curves.Head[k].push_back(has ? r.Sections[k].HeadDeflection : 0.0);
            curves.Moment[k].push_back(has ? r.Sections[k].MaxMoment : 0.0);
        }
    }
    if (result_.Critical)
        curves.Critical = ShownLength(result_.Rows[*result_.Critical].Length, system);
    plot_->SetCurves(std::move(curves));

    const QString tolerance = Length(result_.TolerancePercent);
    if (result_.Critical) {
        const TStudyLengthResult& r = result_.Rows[*result_.Critical];
        const size_t governing = GoverningSection(r);
        // A staged wall is embedded least in its deepest excavation: that stage's embedment.
        const QString embedment =
            r.Sections.size() > 1
                ? QStringLiteral("embedment %1 %2 in %3")
                      .arg(depth(r.Sections[governing].Embedment), D, SectionName(governing))
                : QStringLiteral("embedment %1 %2")
                      .arg(depth(r.Sections.empty() ? 0.0 : r.Sections.front().Embedment), D);
        critical_->setText(
            QStringLiteral("Critical length: %1 %2 (%3): from there on the head "
                           "deflection and the maximum moment change by less than %4 % from one "
                           "length to the next.")
                .arg(depth(r.Length), D, embedment, tolerance));
    } else {
        critical_->setText(QStringLiteral("Critical length: none; the head deflection and the "
                                          "maximum moment do not settle within %1 % up to the "
                                          "longest length studied.")
                               .arg(tolerance));
    }
    set_critical_->setEnabled(result_.Critical.has_value());
    QStringList shown;
    for (const QString& n : result_.Notes) shown << QStringLiteral("- ") + n;
    if (std::any_of(result_.Rows.begin(), result_.Rows.end(),
                    [](const TStudyLengthResult& r) { return !r.Usable; })) {
        shown.prepend(
            QStringLiteral("Red rows did not close, went beyond the maximum allowable "
                           "deflection or off the p-y curves: never the critical "
                           "length."));
    }
    notes_->setText(shown.join(QLatin1Char('\n')));
    notes_->setVisible(!shown.isEmpty());
}

void TLengthStudyWindow::SetSelectedLength() {
    const int line = table_->currentRow();
    if (line < 0 || static_cast<size_t>(line) >= row_of_line_.size()) {
        TMainPrompts::Current().Information(this,
                                            QStringLiteral("Choose a length in the table first."));
        return;
    }
    SetLength(result_.Rows[row_of_line_[static_cast<size_t>(line)]].Length);
}

void TLengthStudyWindow::SetCriticalLength() {
    if (result_.Critical) SetLength(result_.Rows[*result_.Critical].Length);
}

void TLengthStudyWindow::SetLength(double length) {
    std::vector<std::string> notes;
    try {
        // The soil reaches below the study's longest wall, as in the study's
        // variants: the project then analyses exactly as its row.
        notes = SetWallLength(project_, length, result_.LongestLength());
    } catch (const EWallLengthError& e) {
        TMainPrompts::Current().Information(this, QString::fromStdString(e.what()));
        return;
    } catch (const EKorvelError& e) {
        TMainPrompts::Current().Information(this, e.Message());
        return;
    }
    QString text = QStringLiteral(
                       "The wall is now %1 %2 long (%3 increments); the project is "
                       "modified: save it to keep the change, or close it without "
                       "saving to drop it.")
                       .arg(Length(ShownLength(
                                project_.Increments * static_cast<double>(project_.IncrementLength),
                                project_.UnitSystem())),
                            LengthUnitText(project_.UnitSystem()))
                       .arg(project_.Increments);
    for (const std::string& n : notes) text += QStringLiteral("\n- ") + QString::fromStdString(n);
    status_->setText(text);
}

}  // namespace korvel
