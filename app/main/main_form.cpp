#include "main/main_form.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cstdint>

#include "dialogs/data_dialogs.h"
#include "entry/entry_errors.h"
#include "entry/table_definitions.h"
#include "entry/ui/child_window.h"
#include "entry/ui/table_form.h"
#include "graphs/export_dialog.h"
#include "graphs/graph_windows.h"
#include "main/about_text.h"
#include "main/control_file.h"
#include "main/design_session.h"
#include "main/edit_menu.h"
#include "main/file_names.h"
#include "main/help_window.h"
#include "main/length_study_window.h"
#include "main/main_prompts.h"
#include "main/open_windows.h"
#include "main/options_dialog.h"
#include "main/placeholder_window.h"
#include "main/program_files.h"
#include "main/program_settings.h"
#include "main/run_checks.h"
#include "main/run_folder.h"
#include "main/run_message.h"
#include "main/stage_options_dialog.h"
#include "main/stage_restore.h"
#include "main/stderr_capture.h"
#include "main/text_editor.h"
#include "main/window_applies.h"
#include "project/program_data.h"
#include "project/project_history.h"
#include "project/stage_files.h"
#include "project/stage_units.h"
#include "report/report_export.h"
#include "views/geometry_views.h"

namespace korvel {
namespace {

constexpr const char* kEntryPointName = "_IKORVEL";
constexpr const char* kSupportAddress = "support@tavlor.example";
using TEntryPoint = int32_t (*)(int32_t);

constexpr const char* kOpenFilter =
    "KORVEL 2015 (*.kv5d);;KORVEL 2013 (*.kv4d);;KORVEL 3.0 (*.kvd);;KORVEL 2.0 (*.kvd);;All Files "
    "(*)";
constexpr const char* kSaveFilter = "KORVEL 2015 (*.kv5d);;All Files (*)";
constexpr const char* kLaterVersion = "This dialog comes with a later version of the program.";

// Graph items in menu order with their component names and captions.
struct TGraphItem {
    TGraphKind Kind;
    const char* Component;
    const char* MenuCaption;
};
constexpr TGraphItem kGraphItems[] = {
    {TGraphKind::kPY, "pltPY", "p-&y Curves"},
    {TGraphKind::kDef, "pltDef", "&Deflection vs Depth"},
    {TGraphKind::kMom, "pltMom", "&Moment vs Depth"},
    {TGraphKind::kShear, "pltShear", "&Shear vs Depth"},
    {TGraphKind::kSoil, "pltSoil", "&Reaction vs Depth"},
    {TGraphKind::kDMS, "pltDMS", "D&eflection, Moment and Shear"},
    {TGraphKind::kLD, "pltLD", "Earth &Pressure Distribution"},
    {TGraphKind::kCombine, "PltCombine", "Earth Pressure &Combined"},
};
// Result tool buttons: hint and graph.
struct TResultButton {
    TGraphKind Kind;
    const char* Hint;
    const char* Text;
};
constexpr TResultButton kResultButtons[] = {
    {TGraphKind::kPY, "View p-y Curves", "p-y"},
    {TGraphKind::kDef, "Deflection Diagram", "Defl"},
    {TGraphKind::kMom, "Moment Diagram", "Mom"},
    {TGraphKind::kShear, "Shear Diagram", "Shear"},
    {TGraphKind::kSoil, "Soil-Reaction Diagram", "Reac"},
    {TGraphKind::kLD, "Pressure Diagram", "Press"},
    {TGraphKind::kDMS, "Deflection, Moment and Shear Diagram", "DMS"},
};

QString ToolName(TGraphKind kind) {
    return QStringLiteral("Tool%1").arg(GraphIndex(kind));
}

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      tables_(std::make_unique<TProgramTables>()),
      project_(new TProgramData(*tables_, this)),
      history_(new TProjectHistory(*project_, this)),
      graphs_(std::make_unique<TGraphWindows>(*project_)),
      mdi_area_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MainForm"));
    setCentralWidget(mdi_area_);
    mdi_area_->setBackground(QColor(0x80, 0x80, 0x80));
    connect(project_, &TProgramData::aboutToReset, this, &TMainForm::CloseAllChildren);
    // Values changed outside their windows (the wall set to a studied length).
    connect(project_, &TProgramData::valuesChanged, this, &TMainForm::AfterProjectChange);
    design_ = std::make_unique<TDesignSession>(*project_, *tables_);
    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    ConnectProjectHistory(*this, *history_, actions_);  // menu and tool bar actions alike
    setAcceptDrops(true);

    views_ = new TGeometryViews(mdi_area_, *project_, this);
    views_->DeformedShapeAvailable = [this] { return graphs_->HasCurve(TGraphKind::kDef); };
    std::array<QAction*, TGeometryViews::kShowItems> showItems{};
    for (int i = 0; i < TGeometryViews::kShowItems; ++i) {
        showItems[i] = Find(QStringLiteral("View3D%1").arg(i));
    }
    std::array<QAction*, TGeometryViews::kTools> tools{};
    for (int i = 0; i < TGeometryViews::kTools; ++i) {
        tools[i] = Find(QStringLiteral("Tool3D%1").arg(i));
    }
    views_->Attach3DControls(view3d_menu_, showItems, tools);

    // Settings: the stored editor, else the default; then the recent files.
    text_editor_path_ = ReadTextEditorSetting();
    if (text_editor_path_.isEmpty()) text_editor_path_ = DefaultTextEditor();
    if (!ReadProgramSettings(text_editor_path_, recent_) && text_editor_path_.isEmpty()) {
        text_editor_path_ = DefaultTextEditor();
    }

    project_->CreateNew();
    AfterProjectChange();
    history_->Reset();
    resize(1200, 860);
}

TMainForm::~TMainForm() {
    // Child windows go before the tables and graphs they show.
    mdi_area_->closeAllSubWindows();
    delete mdi_area_;
}

// --- Construction ----------------------------------------------------------------

QAction* TMainForm::NewAction(const QString& name, const QString& caption,
                              void (TMainForm::*slot)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (slot) connect(action, &QAction::triggered, this, slot);
    actions_[name] = action;
    return action;
}

QAction* TMainForm::Find(const QString& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* TMainForm::Toggle(const QString& name, const QString& caption, bool TProjectFields::*flag,
                           const QString& closes) {
    QAction* action = NewAction(name, caption);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, action, flag, closes](bool on) {
        if (!TakeEdits()) {
            action->setChecked(!on);
            return;
        }
        project_->*flag = on;
        project_->SetModified(true);
        // A table emptied by an earlier save gets its default rows back, so an
        // option switched on is not saved as off for want of rows.
        if (on) {
            for (TGridTable* table : tables_->DataTables()) {
                if (table->RowCount() < table->MinRows()) table->SetRowCount(table->MinRows());
            }
        }
        if (!on && !closes.isEmpty()) CloseChildWindow(closes);
        RefreshWindows();
    });
    return action;
}

void TMainForm::createActions() {
    // File
    NewAction("FileNew", "&New", &TMainForm::FileNewClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    NewAction("FileOpen", "&Open...", &TMainForm::FileOpenClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    NewAction("FileSave", "&Save", &TMainForm::FileSaveClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    NewAction("FileSaveAs", "Save &As...", &TMainForm::FileSaveAsClick);
    connect(NewAction("FileExportPdf", "Export Report as PDF..."), &QAction::triggered, this,
            &TMainForm::FileExportPdfClick);
    NewAction("FileExit", "E&xit")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(Find("FileExit"), &QAction::triggered, this, &QWidget::close);
    for (int slot = 0; slot < TRecentFiles::kSlots; ++slot) {
        recent_actions_[slot] = NewAction(QStringLiteral("Recent%1").arg(slot), QString());
        connect(recent_actions_[slot], &QAction::triggered, this, [this, slot] {
            const QString path = recent_.Slot(slot);
            if (!path.isEmpty() && SavePrompt()) OpenByPath(path);
        });
    }

    // Edit
    NewAction("EditUndo", "Undo", &TMainForm::EditUndoClick)->setShortcut(QKeySequence::Undo);
    NewAction("EditRedo", "Redo", &TMainForm::EditRedoClick)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});

    // Data
    auto table = [this](TGridTable* t) { return [this, t] { OpenTable(*t); }; };
    TProgramTables& t = *tables_;
    auto* dialogs = new TDataDialogs(*project_, t, mdi_area_, this);
    dialogs->setObjectName(QStringLiteral("DataDialogs"));
    connect(NewAction("DataTitle", "&Title"), &QAction::triggered, dialogs,
            &TDataDialogs::ShowTitle);
    connect(NewAction("DataWallProp", "Wall &Properties"), &QAction::triggered, dialogs,
            &TDataDialogs::ShowWallProperties);
    connect(NewAction("DataWallConfig", "&Wall Configuration"), &QAction::triggered, dialogs,
            &TDataDialogs::ShowWallConfiguration);
    connect(NewAction("DataSoil", "&Soil Layer Data"), &QAction::triggered, this,
            table(t.NewSoil.get()));
    connect(NewAction("DataSoilShort", "Short-Term"), &QAction::triggered, this,
            table(t.NewSoil.get()));
    connect(NewAction("DataSoilLong", "Long-Term"), &QAction::triggered, this,
            table(t.LongSoil.get()));
    connect(NewAction("DataDist", "&Distributed Active Earth Pressure"), &QAction::triggered, this,
            table(t.DistLoad.get()));
    connect(NewAction("DataDistShort", "Short-Term"), &QAction::triggered, this,
            table(t.DistLoad.get()));
    connect(NewAction("DataDistLong", "Long-Term"), &QAction::triggered, this,
            table(t.LongDist.get()));
    connect(NewAction("DataSurcharge", "&Additional Surcharge Loads"), &QAction::triggered, dialogs,
            &TDataDialogs::ShowSurcharge);
    connect(NewAction("DataConcLoads", "&Concentrated Loads on the Wall"), &QAction::triggered,
            dialogs, &TDataDialogs::ShowConcentratedLoads);
    connect(NewAction("DataTieback", "Tieback (Ground Anchor) Data"), &QAction::triggered, dialogs,
            &TDataDialogs::ShowTieback);
    connect(NewAction("DataBoundary", "&Boundary Condition on Deflection or Slope"),
            &QAction::triggered, this, table(t.Soillayer.get()));
    connect(NewAction("DataPYMod", "Modification &Factors for p-y Curves"), &QAction::triggered,
            this, table(t.PYMod.get()));
    connect(NewAction("DataExtPY", "Sets of &External p-y Curves"), &QAction::triggered, this,
            table(t.PYCurves2.get()));
    connect(NewAction("DataSprings", "&Lateral Springs and Rotational Restraints"),
            &QAction::triggered, dialogs, &TDataDialogs::ShowSprings);
    connect(NewAction("DataEICurves", "Sets of Nonlinear Moment vs EI Curves"), &QAction::triggered,
            this, table(t.MEICurves2.get()));

    // Options
    unit_group_ = new QActionGroup(this);
    const char* units[] = {"&English Units (lbs, in)", "&SI Units (kN, m)", "&Other Units (F, L)"};
    for (int n = 1; n <= 3; ++n) {
        QAction* action = NewAction(QStringLiteral("Unit%1").arg(n), QLatin1String(units[n - 1]));
        action->setCheckable(true);
        unit_group_->addAction(action);
        connect(action, &QAction::triggered, this, [this, n] {
            if (project_->UnitSystem() == n) return;
            // Every stage file is converted: one missing must come back first.
            if (!TakeEdits() ||
                !RestoreMissingStages(this, *project_, MissingStageFiles(*project_),
                                      QStringLiteral("The unit system was not changed."))) {
                Find(QStringLiteral("Unit%1").arg(project_->UnitSystem()))->setChecked(true);
                return;
            }
            try {
                const TReadResult read = SwitchProjectUnitSystem(*project_, n);
                if (!read.Notice().isEmpty())
                    TMainPrompts::Current().Information(this, read.Notice());
            } catch (const EKorvelError& error) {
                TMainPrompts::Current().Information(this, error.Message());
            }
            Find(QStringLiteral("Unit%1").arg(project_->UnitSystem()))->setChecked(true);
            project_->SetModified(true);
            RefreshWindows();
        });
    }
    pressure_group_ = new QActionGroup(this);
    const char* pressures[] = {"Earth-Pressure Specified by User",
                               "Generate Triangular-Distribution Earth-Pressure",
                               "Generate Trapezoidal-Distribution Pressure (Anchored Walls)"};
    for (int n = 1; n <= 3; ++n) {
        QAction* action =
            NewAction(QStringLiteral("Pressure%1").arg(n), QLatin1String(pressures[n - 1]));
        action->setCheckable(true);
        pressure_group_->addAction(action);
        connect(action, &QAction::triggered, this, [this, n] {
            if (!TakeEdits()) {
                ShowPressureMark(
                    OptionsMenuRules(*project_, project_->UnitSystem()).EarthPressureType);
                return;
            }
            project_->EarthPressureType = n;
            project_->SetModified(true);
            RefreshWindows();
        });
    }
    Toggle("OptPYGen", "Generate &p-y Curves", &TProjectFields::GeneratePYCurves,
           "User-Specified Earth Pressure");
    Toggle("OptPYStations", "Generate p-y Curves at Every Station",
           &TProjectFields::PYCurvesAtEveryStation);
    Toggle("OptConcLoads", "Apply &Concentrated Loads", &TProjectFields::ApplyConcentratedLoads,
           "Concentrated Loads on Wall");
    Toggle("OptTieback", "Apply Tieback (Ground  Anchor)", &TProjectFields::ApplyTiebacks);
    Toggle("OptRestraints", "Apply &Restraints on Deflection or Slope",
           &TProjectFields::ApplyRestraints, "Specify Deflection and Slope on Wall");
    Toggle("OptExtPY", "Apply User Specified p-y Curves (&External)",
           &TProjectFields::ApplyExternalPYCurves, "Sets of Ext. p-y Curves");
    Toggle("OptSprings", "Apply &Lateral Springs and Rotation Restraints",
           &TProjectFields::ApplySprings, "Lateral Spring and Rotation Spring");
    Toggle("OptPYMod", "Apply External p-y &Modification Factors ",
           &TProjectFields::ApplyPYModification, "p-y Modification Factors");
    Toggle("OptSurcharge", "Apply Additional Surcharge Loads", &TProjectFields::ApplySurcharges,
           "Surcharge Loads");
    Toggle("OptEICurves", "Apply Nonlinear Moment vs EI Curves", &TProjectFields::ApplyEICurves,
           "Nonlinear Moment vs EI Curves");
    connect(Toggle("OptLongTerm", "Conduct Short-Term and Long-Term &Analyses",
                   &TProjectFields::LongTermAnalysis),
            &QAction::triggered, this, &TMainForm::ApplyLongTermSwap);
    NewAction("OptStaged", "Conduct &Staged-Construction Analysis...",
              &TMainForm::StagedOptionsClick);
    Find("OptStaged")->setCheckable(true);
    connect(NewAction("OptTextEditor", "&Option of Text Editor..."), &QAction::triggered, this,
            &TMainForm::ShowOptionsDialog);

    // Stage Construction
    for (int n = 1; n <= kMaxStages; ++n) {
        QAction* action =
            NewAction(QStringLiteral("Stage%1").arg(n), QStringLiteral("Stage &%1").arg(n));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, n] {
            SwitchStage(n);
            RefreshStageButtons();
        });
    }
    NewAction("StageUpdate", "Update &Current Stage", &TMainForm::StageUpdateClick)
        ->setVisible(false);
    NewAction("StageCopyPrev", "Copy &Previous Stage", &TMainForm::StageCopyPrevClick);

    // Computation
    NewAction("CompRun", "&Run Analysis", &TMainForm::CompRunClick);
    connect(NewAction("CompEditInput", "Edit I&nput Text"), &QAction::triggered, this,
            [this] { OpenInTextEditor(project_->FileName); });
    connect(NewAction("CompEditNotes", "Edit &Processor-Run Notes"), &QAction::triggered, this,
            [this] { OpenInTextEditor(RunNotesPath(project_->FileName)); });
    connect(NewAction("CompEditOutput", "Edit &Output Text"), &QAction::triggered, this,
            [this] { OpenInTextEditor(OutputReportPath(project_->FileName)); });
    connect(NewAction("CompViewGeometry", "&View Wall Geometry"), &QAction::triggered, this,
            [this] { views_->OpenSideView(); });
    connect(NewAction("Comp3DView", "3D View"), &QAction::triggered, this,
            [this] { views_->Open3DView(); });
    // The study reads the saved data file: edits in progress are taken and saved as for a run.
    connect(NewAction("CompLengthStudy", "Wall &Length Study..."), &QAction::triggered, this,
            [this] {
                if (!TakeEdits()) return;
                if (SaveProject() && project_->FileName != QLatin1String(kNewProjectName))
                    TLengthStudyWindow::Open(mdi_area_, *project_);
            });

    // Graphics
    for (const TGraphItem& item : kGraphItems) {
        const TGraphKind kind = item.Kind;
        connect(NewAction(QStringLiteral("Graph") + QLatin1String(item.Component),
                          QLatin1String(item.MenuCaption)),
                &QAction::triggered, this, [this, kind] { ShowPlot(kind); });
    }
    connect(NewAction("GraphExport", "E&xport Plots To Excel"), &QAction::triggered, this, [this] {
        auto* windows = dynamic_cast<TGraphWindows*>(graphs_.get());
        if (!windows) return;
        TDlgExport::ShowFor(
            this,
            [this, windows] {
                return ExportCandidates(windows->Plots(),
                                        GraphicsMenuRules(CurrentResultState()).Graph);
            },
            project_->FileName);
    });

    // Window
    connect(NewAction("WindowCascade", "&Cascade"), &QAction::triggered, this,
            [this] { CascadeChildWindows(mdi_area_); });
    connect(NewAction("WindowArrange", "&Arrange Icons"), &QAction::triggered, this,
            &TMainForm::ArrangeIcons);
    for (int i = 0; i < static_cast<int>(window_actions_.size()); ++i) {
        QAction* action = NewAction(QStringLiteral("WindowItem%1").arg(i), QString());
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, action] {
            QStringList captions;
            const auto windows = mdi_area_->subWindowList();
            for (QMdiSubWindow* w : windows) captions << w->windowTitle();
            const int target = WindowListTarget(captions, action->data().toString());
            if (target >= 0) mdi_area_->setActiveSubWindow(windows[target]);
        });
        window_actions_[i] = action;
    }

    // Show 3DView: shown only while the 3D view is open.
    const char* view_items[] = {"Wall",
                                "Soil Layers",
                                "Water Level",
                                "Additional Surcharge",
                                "Concentrated Loads",
                                "Tie Backs",
                                "Boundary Conditions",
                                "Lateral Springs",
                                "Deformed Shape"};
    for (int i = 0; i < 9; ++i)
        NewAction(QStringLiteral("View3D%1").arg(i), QLatin1String(view_items[i]));

    // Help
    // The guides are built into the program: help works without a desktop launcher.
    const auto help = [this](THelpWindow::TDocument document) {
        return [this, document] { THelpWindow::Show(mdi_area_, document); };
    };
    connect(NewAction("HelpContents", "&Contents"), &QAction::triggered, this,
            help(THelpWindow::TDocument::kUserGuide));
    connect(NewAction("HelpUser", "&User's Manual"), &QAction::triggered, this,
            help(THelpWindow::TDocument::kUserGuide));
    connect(NewAction("HelpTech", "&Technical Manual"), &QAction::triggered, this,
            help(THelpWindow::TDocument::kTechnicalGuide));
    connect(NewAction("HelpAbout", "&About..."), &QAction::triggered, this, &TMainForm::ShowAbout);
    connect(NewAction("HelpUpdates", "Check for &Updates"), &QAction::triggered, this, [this] {
        TMainPrompts::Current().Information(
            this,
            QStringLiteral("This version does not check for updates by itself.\rPlease ask ") +
                QLatin1String(kSupportAddress) + QStringLiteral(" for the latest version."));
    });
}

void TMainForm::createMenus() {
    file_menu_ = menuBar()->addMenu(QStringLiteral("&File"));
    file_menu_->addActions({Find("FileNew"), Find("FileOpen"), Find("FileSave"), Find("FileSaveAs"),
                            Find("FileExportPdf")});
    file_menu_->addSeparator();
    for (QAction* action : recent_actions_) file_menu_->addAction(action);
    recent_separator_ = file_menu_->addSeparator();
    file_menu_->addAction(Find("FileExit"));

    edit_menu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit_menu_->addActions({Find("EditUndo"), Find("EditRedo")});
    connect(edit_menu_, &QMenu::aboutToHide, this, [this] { EditMenuAboutToHide(*this); });

    data_menu_ = menuBar()->addMenu(QStringLiteral("Da&ta"));
    data_menu_->addActions(
        {Find("DataTitle"), Find("DataWallProp"), Find("DataWallConfig"), Find("DataSoil")});
    soil_menu_ = data_menu_->addMenu(QStringLiteral("&Soil Layer Data"));
    soil_menu_->menuAction()->setObjectName(QStringLiteral("DataSoilMenu"));
    soil_menu_->addActions({Find("DataSoilShort"), Find("DataSoilLong")});
    data_menu_->addAction(Find("DataDist"));
    dist_menu_ = data_menu_->addMenu(QStringLiteral("&Distributed Active Earth Pressure"));
    dist_menu_->menuAction()->setObjectName(QStringLiteral("DataDistMenu"));
    dist_menu_->addActions({Find("DataDistShort"), Find("DataDistLong")});
    data_menu_->addActions({Find("DataSurcharge"), Find("DataConcLoads"), Find("DataTieback"),
                            Find("DataBoundary"), Find("DataPYMod"), Find("DataExtPY"),
                            Find("DataSprings"), Find("DataEICurves")});

    options_menu_ = menuBar()->addMenu(QStringLiteral("&Options"));
    units_menu_ = options_menu_->addMenu(QStringLiteral("&Units"));
    units_menu_->addActions(unit_group_->actions());
    pressure_menu_ = options_menu_->addMenu(QStringLiteral("Earth-Pressure Options"));
    pressure_menu_->addActions(pressure_group_->actions());
    options_menu_->addActions({Find("OptPYGen"), Find("OptConcLoads"), Find("OptTieback"),
                               Find("OptRestraints"), Find("OptExtPY"), Find("OptSprings"),
                               Find("OptPYMod"), Find("OptSurcharge"), Find("OptEICurves"),
                               Find("OptLongTerm"), Find("OptStaged"), Find("OptTextEditor")});
    options_menu_->insertAction(Find("OptConcLoads"), Find("OptPYStations"));

    stage_menu_ = menuBar()->addMenu(QStringLiteral("&Stage Construction"));
    for (int n = 1; n <= kMaxStages; ++n)
        stage_menu_->addAction(Find(QStringLiteral("Stage%1").arg(n)));
    stage_menu_->addActions({Find("StageUpdate"), Find("StageCopyPrev")});

    computation_menu_ = menuBar()->addMenu(QStringLiteral("&Computation"));
    computation_menu_->addActions({Find("CompRun"), Find("CompEditInput"), Find("CompEditNotes"),
                                   Find("CompEditOutput"), Find("CompViewGeometry"),
                                   Find("Comp3DView"), Find("CompLengthStudy")});

    graphics_menu_ = menuBar()->addMenu(QStringLiteral("&Graphics"));
    for (const TGraphItem& item : kGraphItems) {
        graphics_menu_->addAction(Find(QStringLiteral("Graph") + QLatin1String(item.Component)));
    }
    graphics_menu_->addAction(Find("GraphExport"));

    QMenu* design = menuBar()->addMenu(QStringLiteral("&Design"));
    design
        ->addAction(QStringLiteral("&Section and Checks..."), this,
                    [this] {
                        if (TakeEdits()) design_->ShowDialog(this);
                    })
        ->setObjectName(QStringLiteral("DesignSectionChecks"));
    design->addAction(QStringLiteral("Design &Checks"), this, [this] { design_->ShowChecks(this); })
        ->setObjectName(QStringLiteral("DesignChecksWindow"));
    window_menu_ = menuBar()->addMenu(QStringLiteral("&Window"));
    window_menu_->addActions({Find("WindowCascade"), Find("WindowArrange")});
    window_separator_ = window_menu_->addSeparator();
    for (QAction* action : window_actions_) window_menu_->addAction(action);

    view3d_menu_ = menuBar()->addMenu(QStringLiteral("Show 3DView"));
    for (int i = 0; i < 9; ++i) {
        if (i == 8) view3d_menu_->addSeparator();
        view3d_menu_->addAction(Find(QStringLiteral("View3D%1").arg(i)));
    }
    view3d_menu_->menuAction()->setVisible(false);

    help_menu_ = menuBar()->addMenu(QStringLiteral("&Help"));
    help_menu_->addActions({Find("HelpContents"), Find("HelpUser"), Find("HelpTech")});
    help_menu_->addSeparator();
    help_menu_->addActions({Find("HelpAbout"), Find("HelpUpdates")});

    for (QMenu* menu : {file_menu_, edit_menu_, data_menu_, options_menu_, stage_menu_,
                        computation_menu_, graphics_menu_, window_menu_, help_menu_}) {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    }
}

void TMainForm::createToolBars() {
    tool_bar_ = addToolBar(QStringLiteral("Tools"));
    tool_bar_->setObjectName(QStringLiteral("ToolBar"));
    tool_bar_->setMovable(false);
    auto button = [this](const QString& name, const QString& hint, const QString& text,
                         auto handler, QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
        QAction* action = NewAction(name, text);
        action->setToolTip(hint);
        action->setStatusTip(hint);
        if (icon != QStyle::SP_CustomBase) action->setIcon(style()->standardIcon(icon));
        connect(action, &QAction::triggered, this, handler);
        tool_bar_->addAction(action);
        return action;
    };
    button(
        "ToolNew", "New Data File", "New", [this] { FileNewClick(); }, QStyle::SP_FileIcon);
    button(
        "ToolOpen", "Open Data File", "Open", [this] { FileOpenClick(); },
        QStyle::SP_DialogOpenButton);
    button(
        "ToolSave", "Save Data File", "Save", [this] { FileSaveClick(); },
        QStyle::SP_DialogSaveButton);
    tool_bar_->addSeparator();
    // Buttons that stand for a menu item judge it by the project as it is now,
    // not by the state the item had when its menu last opened.
    button("ToolTitle", "Title", "Title", [this] { TriggerAsNow(data_menu_, "DataTitle"); });
    button("ToolWallProp", "Wall Properties", "Wall",
           [this] { TriggerAsNow(data_menu_, "DataWallProp"); });
    button("ToolWallConfig", "Wall Configuration", "Config",
           [this] { TriggerAsNow(data_menu_, "DataWallConfig"); });
    button("ToolSoil", "Soil Layers", "Soils", [this] {
        if (!project_->LongTermAnalysis) TriggerAsNow(data_menu_, "DataSoil");
    });
    tool_bar_->addSeparator();
    button(
        "SpeedButton4", "Run Analysis", "Run", [this] { CompRunClick(); }, QStyle::SP_MediaPlay);
    button("ToolStageOption", "Stage Construction Option", "Stages", [this] {
        if (!project_->LongTermAnalysis) StagedOptionsClick();
    });
    button("ToolViewOutput", "View Output File", "Output",
           [this] { OpenInTextEditor(OutputReportPath(project_->FileName)); });
    // The side view and the 3D view draw the project itself: no results needed.
    button("ToolSideView", "View Soil Profile", "Profile", [this] { views_->OpenSideView(); });
    button("Tool3DView", "3D View", "3D", [this] { views_->Open3DView(); });
    tool_bar_->addSeparator();
    for (const TResultButton& b : kResultButtons) {
        const TGraphKind kind = b.Kind;
        button(ToolName(kind), QLatin1String(b.Hint), QLatin1String(b.Text),
               [this, kind] { ShowPlot(kind); });
    }
    tool_bar_->addSeparator();
    for (int n = 1; n <= kMaxStages; ++n) {
        QAction* action =
            button(QStringLiteral("ToolStage%1").arg(n), QStringLiteral("Stage Const. %1").arg(n),
                   QStringLiteral("S%1").arg(n), [this, n] { SwitchStage(n); });
        action->setCheckable(true);
    }
    // 3D view tools: shown only while the 3D view is open.
    const char* tools[] = {"Panning", "Zoom Window", "Zooming",      "Rotating",
                           "Zoom In", "Zoom Out",    "Restart View", "Deformed Shape"};
    for (int i = 0; i < 8; ++i) {
        button(QStringLiteral("Tool3D%1").arg(i), QLatin1String(tools[i]), QLatin1String(tools[i]),
               [] {})
            ->setVisible(false);
    }
}

void TMainForm::createStatusBar() {
    status_panel_ = new QLabel(this);
    status_panel_->setObjectName(QStringLiteral("StatusPanel"));
    statusBar()->addWidget(status_panel_, 1);
}

// --- Menus ---------------------------------------------------------------------------

bool TMainForm::TakeEdits() {
    if (!TakePendingEdits(*mdi_area_)) return false;
    // Entries taken are changes the Edit menu can undo.
    history_->Checkpoint();
    return true;
}

void TMainForm::RefreshWindows() {
    // Windows whose data no longer apply go (their entries were taken before the
    // change); the others show the project anew.
    CloseWindowsThatDoNotApply(*mdi_area_, *project_);
    RefreshOpenWindows(*mdi_area_);
    RefreshDataButtons();
}

void TMainForm::RefreshDataButtons() {
    const TDataMenuState s = DataMenuRules(*project_);
    Find("ToolWallProp")->setEnabled(s.WallProperties);
    Find("ToolWallConfig")->setEnabled(s.WallConfiguration);
    Find("ToolSoil")->setEnabled(s.SoilLayers && !project_->LongTermAnalysis);
}

void TMainForm::UpdateMenu(QMenu* menu) {
    // The menu shows the state with the entries in progress taken; the item
    // chosen then takes them again (and stops on one that is refused).
    if (menu != graphics_menu_) TakeEdits();
    if (menu == file_menu_) FileMenuAboutToShow();
    if (menu == edit_menu_) EditMenuAboutToShow(*this, *history_);
    if (menu == data_menu_) DataMenuAboutToShow();
    if (menu == options_menu_) OptionsMenuAboutToShow();
    if (menu == stage_menu_) StageMenuAboutToShow();
    if (menu == computation_menu_) ComputationMenuAboutToShow();
    if (menu == graphics_menu_) GraphicsMenuAboutToShow();
    if (menu == window_menu_) WindowMenuAboutToShow();
}

void TMainForm::TriggerAsNow(QMenu* menu, const char* name) {
    UpdateMenu(menu);
    if (QAction* action = Find(QLatin1String(name)); action && action->isEnabled())
        action->trigger();
}

void TMainForm::EditUndoClick() {
    // An entry in progress is the last step: Undo takes it back.
    if (TakeEdits()) history_->Undo();
}

void TMainForm::EditRedoClick() {
    if (TakeEdits()) history_->Redo();
}

void TMainForm::FileMenuAboutToShow() {
    const QString folder = QDir::currentPath();
    for (int slot = 0; slot < TRecentFiles::kSlots; ++slot) {
        const bool used = !recent_.Slot(slot).isEmpty();
        recent_actions_[slot]->setVisible(used);
        if (used) recent_actions_[slot]->setText(recent_.Caption(slot, folder));
    }
    recent_separator_->setVisible(recent_.Count() > 0);
    // The report needs results, like the other result actions.
    Find("FileExportPdf")->setEnabled(GraphicsMenuRules(CurrentResultState()).Export);
}

void TMainForm::FileExportPdfClick() {
    QString path = TMainPrompts::Current().SaveFileName(
        this, QStringLiteral("Export Report as PDF"), ReportPdfPath(project_->FileName),
        QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    // The report is built from the data file and the result files on disk: what
    // was analysed, whatever has been edited since.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TPdfExportResult result = ExportReportPdf(project_->FileName, path);
    QApplication::restoreOverrideCursor();
    if (!result.Written) TMainPrompts::Current().Information(this, result.Message);
}

void TMainForm::DataMenuAboutToShow() {
    const TDataMenuState s = DataMenuRules(*project_);
    Find("DataWallProp")->setEnabled(s.WallProperties);
    Find("DataWallConfig")->setEnabled(s.WallConfiguration);
    Find("DataSoil")->setEnabled(s.SoilLayers);
    soil_menu_->menuAction()->setEnabled(s.SoilLayers);
    Find("DataDist")->setEnabled(s.DistributedPressure);
    dist_menu_->menuAction()->setEnabled(s.DistributedPressure);
    for (const char* name : {"DataSoilShort", "DataSoilLong", "DataDistShort", "DataDistLong"}) {
        Find(name)->setVisible(s.LongTermItemsVisible);
    }
    Find("DataBoundary")->setEnabled(s.Restraints);
    Find("DataConcLoads")->setEnabled(s.ConcentratedLoads);
    Find("DataSprings")->setEnabled(s.Springs);
    Find("DataTieback")->setEnabled(s.Tiebacks);
    Find("DataExtPY")->setEnabled(s.ExternalPYCurves);
    Find("DataEICurves")->setEnabled(s.EICurves);
    Find("DataPYMod")->setEnabled(s.PYModification);
    Find("DataSurcharge")->setEnabled(s.Surcharges);
}

void TMainForm::OptionsMenuAboutToShow() {
    const TOptionsMenuState s = OptionsMenuRules(*project_, project_->UnitSystem());
    Find("OptPYGen")->setChecked(s.GeneratePYCurves);
    Find("OptPYStations")->setChecked(project_->PYCurvesAtEveryStation);
    Find("OptPYStations")->setEnabled(s.GeneratePYCurves);
    Find("OptConcLoads")->setChecked(s.ConcentratedLoads);
    Find("OptTieback")->setChecked(s.Tiebacks);
    Find("OptRestraints")->setChecked(s.Restraints);
    Find("OptExtPY")->setChecked(s.ExternalPYCurves);
    Find("OptSprings")->setChecked(s.Springs);
    Find("OptPYMod")->setChecked(s.PYModification);
    Find("OptSurcharge")->setChecked(s.Surcharges);
    Find("OptEICurves")->setChecked(s.EICurves);
    Find("OptLongTerm")->setEnabled(s.LongTermEnabled);
    Find("OptLongTerm")->setChecked(s.LongTermChecked);
    Find("OptStaged")->setEnabled(s.StagedEnabled);
    Find("OptStaged")->setChecked(s.StagedChecked);
    Find(QStringLiteral("Unit%1").arg(s.UnitSystem))->setChecked(true);
    ShowPressureMark(s.EarthPressureType);
}

void TMainForm::ShowPressureMark(int type) {
    // No mark while no pressure has been chosen (type 0).
    for (int n = 1; n <= 3; ++n) Find(QStringLiteral("Pressure%1").arg(n))->setChecked(n == type);
}

void TMainForm::StageMenuAboutToShow() {
    const TStageMenuState s = StageMenuRules(*project_);
    for (int n = 1; n <= kMaxStages; ++n) {
        Find(QStringLiteral("Stage%1").arg(n))->setEnabled(s.StageEnabled[n - 1]);
        Find(QStringLiteral("Stage%1").arg(n))->setChecked(s.StageChecked[n - 1]);
    }
    Find("StageUpdate")->setEnabled(s.UpdateCurrentStage);
    Find("StageCopyPrev")->setEnabled(s.CopyPreviousStage);
}

void TMainForm::ComputationMenuAboutToShow() {
    const TComputationMenuState s = ComputationMenuRules(CurrentResultState());
    Find("CompEditInput")->setEnabled(s.EditInput);
    Find("CompEditNotes")->setEnabled(s.EditRunNotes);
    Find("CompEditOutput")->setEnabled(s.EditOutput);
    Find("CompViewGeometry")->setEnabled(s.ViewWallGeometry);
}

void TMainForm::GraphicsMenuAboutToShow() {
    const TGraphicsMenuState s = GraphicsMenuRules(CurrentResultState());
    for (const TGraphItem& item : kGraphItems) {
        Find(QStringLiteral("Graph") + QLatin1String(item.Component))
            ->setEnabled(s.Graph[GraphIndex(item.Kind)]);
    }
    Find("GraphExport")->setEnabled(s.Export);
}

void TMainForm::WindowMenuAboutToShow() {
    const auto windows = mdi_area_->subWindowList();
    window_separator_->setVisible(!windows.isEmpty());
    for (int i = 0; i < static_cast<int>(window_actions_.size()); ++i) {
        QAction* action = window_actions_[i];
        const bool used = i < windows.size();
        action->setVisible(used);
        if (!used) continue;
        QString caption = windows[i]->windowTitle();
        // The item holds the caption behind a hot-key "&", as the list has always
        // kept it; the lookup drops that "&" again.
        action->setData(QStringLiteral("&") + caption);
        action->setText(QStringLiteral("&") +
                        caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setChecked(windows[i] == mdi_area_->activeSubWindow());
    }
}

TResultState TMainForm::CurrentResultState() const {
    TResultState state = ResultFilesOf(project_->FileName);
    state.PlotDataLoaded = plot_data_loaded_;
    for (int i = 0; i < kGraphCount; ++i)
        state.GraphHasCurve[i] = graphs_->HasCurve(static_cast<TGraphKind>(i));
    return state;
}

void TMainForm::RefreshResultButtons() {
    const TToolBarState s = ToolBarRules(*project_, CurrentResultState());
    for (const TResultButton& b : kResultButtons)
        Find(ToolName(b.Kind))->setEnabled(s.Graph[GraphIndex(b.Kind)]);
    Find("ToolViewOutput")->setEnabled(s.ViewOutput);
    Find("ToolStageOption")->setEnabled(s.StageOption);
}

void TMainForm::RefreshStageButtons() {
    const TStageButtonState s = StageButtonRules(*project_);
    for (int n = 1; n <= kMaxStages; ++n) {
        QAction* action = Find(QStringLiteral("ToolStage%1").arg(n));
        action->setVisible(s.Visible);
        action->setEnabled(s.Enabled[n - 1]);
        action->setChecked(s.Down[n - 1]);
    }
}

void TMainForm::ApplyLongTermSwap() {
    const TLongTermMenus m = LongTermMenuRules(*project_);
    Find("DataSoil")->setVisible(m.PlainItemsVisible);
    Find("DataDist")->setVisible(m.PlainItemsVisible);
    soil_menu_->menuAction()->setVisible(m.SubmenusVisible);
    dist_menu_->menuAction()->setVisible(m.SubmenusVisible);
    Find("OptStaged")->setEnabled(m.StagedOptionEnabled);
    Find("ToolStageOption")->setEnabled(m.StagedOptionEnabled);
}

void TMainForm::UpdateStageDisplay() {
    status_panel_->setText(StageStatusText(*project_));
    stage_menu_->menuAction()->setVisible(IsStaged(*project_));
}

void TMainForm::SetTitle() {
    setWindowTitle(MainWindowTitle(project_->FileName) +
                   (read_only_ ? QStringLiteral(" (read-only)") : QString()));
}

bool TMainForm::RefusedReadOnly(bool staged_only) {
    if (!read_only_ || (staged_only && !IsStaged(*project_))) return false;
    TMainPrompts::Current().Information(this, ReadOnlyProjectMessage(project_->FileName));
    return true;
}

void TMainForm::AfterProjectChange() {
    design_->ProjectChanged();
    SetTitle();
    ApplyLongTermSwap();
    UpdateStageDisplay();
    RefreshResultButtons();
    RefreshStageButtons();
    RefreshWindows();
}

// --- Child windows -------------------------------------------------------------------

TTableForm* TMainForm::OpenTable(TGridTable& table) {
    return TTableForm::ShowTable(table, mdi_area_);
}

void TMainForm::CloseChildWindow(const QString& caption) {
    for (QMdiSubWindow* window : mdi_area_->subWindowList()) {
        if (window->windowTitle().trimmed() == caption) window->close();
    }
}

void TMainForm::CloseAllChildren() {
    mdi_area_->closeAllSubWindows();
}

void TMainForm::ShowPlaceholder(const QString& caption, const QString& note,
                                const std::vector<std::pair<QString, TGridTable*>>& tables) {
    QPointer<QMdiSubWindow>& window = placeholders_[caption];
    if (window) {
        mdi_area_->setActiveSubWindow(window);
        return;
    }
    std::vector<TPlaceholderWindow::TTableButton> buttons;
    for (const auto& [text, table] : tables)
        buttons.push_back({text, [this, table = table] { OpenTable(*table); }});
    auto* content = new TPlaceholderWindow(caption, note, buttons);
    window = mdi_area_->addSubWindow(content);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void TMainForm::ShowOptionsDialog() {
    QPointer<QMdiSubWindow>& window = placeholders_[QStringLiteral("Control Options")];
    if (window) {
        mdi_area_->setActiveSubWindow(window);
        return;
    }
    auto* dialog = new TDlgOptions([this] { return text_editor_path_; },
                                   [this](const QString& path) { text_editor_path_ = path; });
    dialog->setObjectName(QStringLiteral("DlgOptions"));
    window = mdi_area_->addSubWindow(dialog);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void TMainForm::ShowPlot(TGraphKind kind) {
    graphs_->ShowPlot(kind, mdi_area_);
}

void TMainForm::ArrangeIcons() {
    int x = 0;
    for (QMdiSubWindow* window : mdi_area_->subWindowList()) {
        if (!window->isMinimized()) continue;
        window->move(x, mdi_area_->viewport()->height() - window->height());
        x += window->width();
    }
}

void TMainForm::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("About KORVEL 2015"),
                       AboutText(QString::fromLatin1(qVersion())) +
                           QStringLiteral("\n\nSupport: ") + QLatin1String(kSupportAddress));
}

void TMainForm::OpenInTextEditor(const QString& path) {
    if (!StartTextEditor(text_editor_path_, path)) {
        TMainPrompts::Current().Information(
            this, QStringLiteral("An error occurred in running the Word Processor"));
    }
}

// --- Files ---------------------------------------------------------------------------

bool TMainForm::SavePrompt() {
    // An entry in progress counts as a change, and one refused keeps the project.
    if (!TakeEdits()) return false;
    if (!project_->Modified()) return true;
    switch (TMainPrompts::Current().Confirm(
        this, QStringLiteral("Do you want to save any changes?"), true)) {
        case TMainPrompts::TAnswer::kCancel:
            return false;
        case TMainPrompts::TAnswer::kNo:
            return true;
        case TMainPrompts::TAnswer::kYes:
            break;
    }
    return SaveProject() && project_->FileName != QLatin1String(kNewProjectName);
}

void TMainForm::FileNewClick() {
    if (!SavePrompt()) return;
    lock_.Release();
    read_only_ = false;
    project_->CreateNew();
    // The graphs belong to the project that is gone.
    plot_data_loaded_ = false;
    AfterProjectChange();
}

void TMainForm::FileOpenClick() {
    if (!SavePrompt()) return;
    int filter = 1;
    const QString path = TMainPrompts::Current().OpenFileName(this, QStringLiteral("Open"),
                                                              QLatin1String(kOpenFilter), &filter);
    if (!path.isEmpty()) OpenByPath(path, FormatFromFilter(filter, path));
}

void TMainForm::OpenByPath(const QString& given, int format) {
    const QFileInfo info(given);
    if (!info.isFile()) {
        // Keep the project: a vanished recent file must not cost the open one.
        TMainPrompts::Current().Information(
            this, QStringLiteral("Cannot open file \"%1\". The file does not exist.").arg(given));
        return;
    }
    const QString path = info.absoluteFilePath();
    // The stage files are this window's only while it holds the set's lock.
    TLockHolder holder;
    bool read_only = false;
    if (lock_.Take(path, &holder) == TProjectLock::TResult::kHeldElsewhere) {
        if (TMainPrompts::Current().Confirm(this, LockedProjectQuestion(path, holder), false) !=
            TMainPrompts::TAnswer::kYes) {
            return;
        }
        read_only = true;
        lock_.Release();
    }
    read_only_ = read_only;
    QDir::setCurrent(info.absolutePath());
    if (format <= 0) format = FormatFromExtension(path);
    const TReadResult read = project_->CreateFromFile(path, format);
    if (!read.Notice().isEmpty()) TMainPrompts::Current().Information(this, read.Notice());
    SetTitle();
    plot_data_loaded_ = false;
    const QString plot = PlotDataPath(path);
    if (QFileInfo::exists(plot)) plot_data_loaded_ = graphs_->ReadPlotFile(plot, false);
    if (recent_.Add(path)) WriteProgramSettings(text_editor_path_, recent_);
    TMainPrompts::Current().Information(this, QStringLiteral("Data file: ") + TitleForm(path) +
                                                  QStringLiteral(", has been read by KORVEL 2015"));
    // Read-only, the stage files stay the other window's: only stage 1, as read, is shown.
    if (IsStaged(*project_) && !read_only_) OpenStages(format);
    AfterProjectChange();
}

void TMainForm::FileSaveClick() {
    SaveProject();
}

void TMainForm::FileSaveAsClick() {
    SaveAsProject();
}

bool TMainForm::SaveProject() {
    if (!TakeEdits()) return false;
    const QString& name = project_->FileName;
    if (RefusedReadOnly(true)) return false;
    if (name == QLatin1String(kNewProjectName) || LowerExtension(name) != QLatin1String(".kv5d") ||
        read_only_) {
        // A staged project writes its current stage there, before the stages are joined.
        return SaveAsProject();
    }
    if (project_->PartlyRead) {
        // Only part of the file was read: replacing it would lose the rest.
        switch (TMainPrompts::Current().Confirm(this, project_->PartlyReadQuestion(), true)) {
            case TMainPrompts::TAnswer::kCancel:
                return false;
            case TMainPrompts::TAnswer::kYes:
                return SaveAsProject();
            case TMainPrompts::TAnswer::kNo:
                break;
        }
    }
    if (IsStaged(*project_) &&
        !RestoreMissingStages(this, *project_, MissingStageFiles(*project_),
                              QStringLiteral("The project was not saved."))) {
        return false;
    }
    try {
        if (IsStaged(*project_)) {
            SaveStagedProjectAs(*project_, name);
        } else {
            project_->WriteDataFile();
        }
    } catch (const EKorvelError& error) {
        TMainPrompts::Current().Information(this, error.Message());
        return false;
    }
    history_->Checkpoint();  // the saved values: the history's clean position
    design_->Saved();        // the design choices are written with the data file
    return true;
}

bool TMainForm::SaveAsProject() {
    if (!TakeEdits()) return false;
    if (RefusedReadOnly(true)) return false;
    QString proposed = project_->FileName;
    if (LowerExtension(proposed) != QLatin1String(".kv5d"))
        proposed = ChangeFileExt(proposed, QStringLiteral(".kv5d"));
    const QString title = QStringLiteral("Save ") + TitleForm(proposed) + QStringLiteral(" As");
    QString path =
        TMainPrompts::Current().SaveFileName(this, title, proposed, QLatin1String(kSaveFilter));
    if (path.isEmpty()) return false;
    path = QFileInfo(WithDataExtension(path)).absoluteFilePath();
    const QFileInfo target(path);
    if (!target.absoluteDir().exists()) {
        TMainPrompts::Current().Information(
            this, QStringLiteral("The folder \"%1\" does not exist.").arg(target.absolutePath()));
        return false;
    }
    if (target.exists() && !target.isWritable()) {
        TMainPrompts::Current().Information(
            this, QStringLiteral("The file \"%1\" is read-only.").arg(path));
        return false;
    }
    // The target's stage files must not be another window's.
    TProjectLock target_lock;
    TLockHolder holder;
    if (!lock_.Holds(path) &&
        target_lock.Take(path, &holder) == TProjectLock::TResult::kHeldElsewhere) {
        TMainPrompts::Current().Information(this, LockedTargetMessage(path, holder));
        return false;
    }
    if (IsStaged(*project_) &&
        !RestoreMissingStages(this, *project_, MissingStageFiles(*project_),
                              QStringLiteral("The project was not saved."))) {
        return false;
    }
    const QString previous = project_->FileName;
    try {
        if (IsStaged(*project_)) {
            // The current stage is stored first, so that its edits reach the new
            // file; the stage files then move to the new name.
            SaveStagedProjectAs(*project_, path);
        } else {
            project_->FileName = path;
            project_->WriteDataFile();
        }
    } catch (const EKorvelError& error) {
        // The project keeps its old name (and a staged one its stage files).
        project_->FileName = previous;
        TMainPrompts::Current().Information(this, error.Message());
        return false;
    }
    if (!target_lock.File().isEmpty()) lock_ = std::move(target_lock);
    read_only_ = false;
    design_->Saved();  // the design choices go with the data file to its new name
    SetTitle();
    history_->Checkpoint();  // the saved values: the history's clean position
    if (recent_.Add(path)) WriteProgramSettings(text_editor_path_, recent_);
    // The windows stay open: they show the same project under its new name.
    RefreshResultButtons();
    return true;
}

void TMainForm::SwitchStage(int stage) {
    if (stage == project_->CurrentStage || stage < 1 || stage > kMaxStages) return;
    if (RefusedReadOnly()) {
        RefreshStageButtons();
        return;
    }
    // Edits in progress belong to the stage being left; one refused keeps it current.
    if (!TakeEdits()) {
        RefreshStageButtons();
        return;
    }
    // A stage file deleted from outside is restored from the data file, or the switch refused.
    if (!QFileInfo::exists(StageFileName(project_->FileName, stage)) &&
        !RestoreMissingStages(this, *project_, {stage},
                              QStringLiteral("Stage %1 was not opened.").arg(stage))) {
        RefreshStageButtons();
        return;
    }
    TReadResult read;
    try {
        read = SwitchToStage(*project_, stage);
    } catch (const EKorvelError& error) {
        // The current stage could not be stored: it stays current, edits and all.
        TMainPrompts::Current().Information(this, error.Message());
        return;
    }
    if (!read.Notice().isEmpty()) TMainPrompts::Current().Information(this, read.Notice());
    status_panel_->setText(StageStatusText(*project_));
    RefreshStageButtons();
    RefreshWindows();
}

void TMainForm::StageUpdateClick() {
    if (!TakeEdits() || RefusedReadOnly()) return;
    try {
        WriteStageFile(*project_);
    } catch (const EKorvelError& error) {
        TMainPrompts::Current().Information(this, error.Message());
    }
}

void TMainForm::StageCopyPrevClick() {
    const int n = project_->CurrentStage;
    if (!IsStaged(*project_) || n < 2 || !TakeEdits() || RefusedReadOnly()) return;
    if (TMainPrompts::Current().Confirm(
            this,
            QStringLiteral("Do you want to copy all information from Stage ") +
                QString::number(n - 1) + QStringLiteral(" to Stage ") + QString::number(n),
            false) != TMainPrompts::TAnswer::kYes) {
        return;
    }
    try {
        const TReadResult read = CopyPreviousStage(*project_);
        if (!read.Notice().isEmpty()) TMainPrompts::Current().Information(this, read.Notice());
    } catch (const EKorvelError& error) {
        TMainPrompts::Current().Information(this, error.Message());
    }
    RefreshWindows();
}

void TMainForm::StagedOptionsClick() {
    if (!TakeEdits() || RefusedReadOnly()) {
        Find("OptStaged")->setChecked(IsStaged(*project_));
        return;
    }
    TDlgStaged dialog(project_->StageCount, this);
    if (dialog.exec() == QDialog::Accepted) ApplyStageCount(dialog.StageCount());
    // The action is checkable: its mark follows the project, not the click.
    Find("OptStaged")->setChecked(IsStaged(*project_));
}

void TMainForm::ApplyStageCount(int count) {
    try {
        const TReadResult read = ChangeStageCount(*project_, count);
        if (!read.Notice().isEmpty()) TMainPrompts::Current().Information(this, read.Notice());
    } catch (const EKorvelError& error) {
        TMainPrompts::Current().Information(this, error.Message());
    }
    UpdateStageDisplay();
    RefreshStageButtons();
    RefreshWindows();
}

void TMainForm::OpenStages(int format) {
    try {
        const TReadResult read = OpenStagedProject(*project_, format);
        if (!read.Notice().isEmpty()) TMainPrompts::Current().Information(this, read.Notice());
    } catch (const EKorvelError& error) {
        TMainPrompts::Current().Information(this, error.Message());
    }
}

void TMainForm::Startup(const QString& argument) {
    bool opened = false;
    if (!argument.isEmpty()) {
        const QFileInfo info(StartupDataPath(argument));
        TLockHolder holder;
        bool held = false;
        if (!info.isFile() && argument.contains(QChar::ReplacementCharacter)) {
            // Bytes that are not UTF-8 do not survive into a name the program can open.
            TMainPrompts::Current().Information(
                this, QStringLiteral("The file name \"%1\" is not UTF-8 text: the program cannot "
                                     "open it. Rename the file and open it again.")
                          .arg(argument));
        } else if (info.isFile() &&
                   (held = lock_.Take(info.absoluteFilePath(), &holder) ==
                           TProjectLock::TResult::kHeldElsewhere) &&
                   TMainPrompts::Current().Confirm(
                       this, LockedProjectQuestion(info.absoluteFilePath(), holder), false) !=
                       TMainPrompts::TAnswer::kYes) {
            // Another window has it; this one starts with a new project.
        } else if (info.isFile()) {
            const QString path = info.absoluteFilePath();
            read_only_ = held;
            QDir::setCurrent(info.absolutePath());
            const TReadResult read = project_->CreateFromFile(path, FormatFromExtension(path));
            if (!read.Notice().isEmpty()) TMainPrompts::Current().Information(this, read.Notice());
            // Stage files left from an earlier session must not stand for this file's stages.
            if (IsStaged(*project_) && !read_only_) OpenStages(FormatFromExtension(path));
            plot_data_loaded_ = false;
            if (QFileInfo::exists(PlotDataPath(path)))
                plot_data_loaded_ = graphs_->ReadPlotFile(PlotDataPath(path), false);
            // Opened from the command line or by double-click: a recent file too.
            if (recent_.Add(path)) WriteProgramSettings(text_editor_path_, recent_);
            opened = true;
        }
    }
    if (!opened) {
        project_->CreateNew();
        plot_data_loaded_ = false;
    }
    AfterProjectChange();
    history_->Reset();
}

// --- Analysis run --------------------------------------------------------------------

QString TMainForm::EngineLibraryPath() const {
    if (!engine_library_path_.isEmpty()) return engine_library_path_;
    return EngineLibraryFor(QCoreApplication::applicationDirPath());
}

QString TMainForm::RunFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/run");
}

void TMainForm::CompRunClick() {
    TMainPrompts& prompts = TMainPrompts::Current();
    // What the windows show is what is analysed; a refused entry stops the run.
    if (!TakeEdits()) return;
    // 1. Save; a project never saved (or one whose save failed) is not analysed.
    const bool saved = SaveProject();
    if (project_->FileName == QLatin1String(kNewProjectName) || !saved) return;
    // A wall without any load gives zero results that look like a finished analysis.
    if (!WallCarriesLoad(*project_) && prompts.Confirm(this, QLatin1String(kNoLoadQuestion),
                                                       false) != TMainPrompts::TAnswer::kYes) {
        return;
    }
    const QString data_file = project_->FileName;
    if (const QString refused = RefusedRunMessage(data_file); !refused.isEmpty()) {
        prompts.Information(this, refused);
        return;
    }

    // 2, 3. The engine works in a folder of this run's own and reads names.dat there.
    std::unique_ptr<TRunFolder> run;
    try {
        run = std::make_unique<TRunFolder>(RunFolder(), data_file);
        if (!QDir::setCurrent(run->Path())) {
            throw EInOutError(
                QStringLiteral("Cannot use the working folder \"%1\".").arg(run->Path()));
        }
        WriteControlFile(run->Path(), CurrentRunIdentification(), data_file, run->Path());
    } catch (const EKorvelError& error) {
        prompts.Information(this, error.Message());
        run.reset();
        QDir::setCurrent(QFileInfo(data_file).absolutePath());
        return;
    }

    // 4. A run in progress keeps its binding.
    if (engine_) {
        prompts.Information(this, QStringLiteral("Attempt to reinitialize DLL"));
        QDir::setCurrent(QFileInfo(data_file).absolutePath());
        return;
    }

    // 5. Bind the library afresh, so the engine starts from zeroed data.
    engine_ = std::make_unique<TDynamicLibrary>();
    engine_->SetLibraryName(EngineLibraryPath());
    TEntryPoint entry = nullptr;
    try {
        engine_->Open();
        entry = reinterpret_cast<TEntryPoint>(engine_->GetProc(kEntryPointName));
    } catch (const EDLLError&) {
        entry = nullptr;
    }
    if (!entry) {
        engine_.reset();
        prompts.Information(this, QStringLiteral("Attempt to initialize DLL failed"));
    } else {
        // 6. The call blocks this thread until the engine has finished.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        TStandardErrorCapture capture;
        const int32_t result = entry(1);
        const QString engine_messages = capture.Finish().trimmed();
        QApplication::restoreOverrideCursor();

        // The results the engine wrote replace those beside the data file, whole.
        QString not_published;
        if (result != 1) {
            try {
                run->PublishResults();
            } catch (const EKorvelError& error) {
                not_published = error.Message();
            }
        }

        // 7. Tell the user and read the results: this run's own, from its folder.
        if (result == 1) {
            prompts.Information(
                this,
                QStringLiteral("Computations can not be performed. Executable files are not "
                               "consistent.\rYou may need to reinstall the program.\rIf problem "
                               "persist please contact TAVLOR support at\r") +
                    QLatin1String(kSupportAddress));
        } else if (!not_published.isEmpty()) {
            prompts.Information(this, not_published);
        } else if (result == 2) {
            // The engine stopped part way: its result files are incomplete.
            plot_data_loaded_ = false;
            QString text = QStringLiteral("The analysis stopped before it was completed.");
            if (!engine_messages.isEmpty()) text += QStringLiteral("\r") + engine_messages;
            prompts.Information(this, text);
        } else {
            // One message: completed, or stopped on an error in the data (no results
            // then); both read from this run's own report.
            const QString data_error = DataErrorLine(run->ReportFile());
            prompts.Information(this, RunEndMessage(data_error));
            const QString plot = run->PlotFile();
            if (!data_error.isEmpty()) {
                plot_data_loaded_ = false;
            } else if (QFileInfo::exists(plot)) {
                plot_data_loaded_ = graphs_->ReadPlotFile(plot, true);
                if (!plot_data_loaded_) {
                    prompts.Information(
                        this, QStringLiteral("An error occurred in running the main program."));
                }
            }
        }
    }

    // 8. Refresh, unload, remove the run's folder with names.dat. The windows
    // stay where the user left them and show the new results; a graph the run
    // gave nothing for says so. (A new or opened project still closes them all.)
    RefreshResultButtons();
    graphs_->ShowNewResults(GraphicsMenuRules(CurrentResultState()).Graph);
    views_->ShowNewResults();
    RefreshWindows();
    engine_.reset();
    // File dialogs start in the current folder: the data file's, not the run's.
    QDir::setCurrent(QFileInfo(data_file).absolutePath());
    run.reset();
}

// --- Window events -------------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!SavePrompt()) {
        event->ignore();
        return;
    }
    WriteProgramSettings(text_editor_path_, recent_);
    CloseAllChildren();
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    const auto urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    const auto urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile() || !SavePrompt()) return;
    OpenByPath(urls.front().toLocalFile());
    history_->Checkpoint();
}

}  // namespace korvel
