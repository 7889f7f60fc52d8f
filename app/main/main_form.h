// TMainForm: the program's main window. A multiple-document frame that owns the
// grid tables, the project and the result graphs; its menus and tool bar switch
// the project's options, open the tables, dialogs and graphs, handle the data
// file (new, open, save, recent files, dropped files) and run the analysis
// through the engine library. Every menu recomputes its items when it opens
// (rules in menu_rules.h). Every action first takes the entries of the open
// child windows (a refused entry stops it), and the open windows show the
// project anew whenever it changes under them (open_windows.h).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>
#include <memory>

#include "graphs/graph_kind.h"
#include "main/dynamic_library.h"
#include "main/menu_rules.h"
#include "main/recent_files.h"
#include "project/project_lock.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace korvel {

class TDesignSession;
class TGridTable;
class TProgramData;
class TProjectHistory;
class TResultGraphs;
class TGeometryViews;
class TTableForm;
struct TProgramTables;

class TMainForm : public QMainWindow {
    Q_OBJECT

  public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Program start: the data file given on the command line (".kv4d" appended to
    // a name without "."), else a new project.
    void Startup(const QString& argument);

    TProgramTables& Tables() const { return *tables_; }
    TProgramData& Project() const { return *project_; }
    TProjectHistory& History() const { return *history_; }
    TResultGraphs& Graphs() const { return *graphs_; }
    QMdiArea* MdiArea() const { return mdi_area_; }
    bool PlotDataLoaded() const { return plot_data_loaded_; }
    const QString& TextEditorPath() const { return text_editor_path_; }
    void SetTextEditorPath(const QString& path) { text_editor_path_ = path; }
    const TRecentFiles& RecentFiles() const { return recent_; }
    QLabel* StatusPanel() const { return status_panel_; }
    QMenu* StageMenu() const { return stage_menu_; }

    // The engine library: libKorvel2015_DLL.so next to the executable unless set.
    QString EngineLibraryPath() const;
    void SetEngineLibraryPath(const QString& path) { engine_library_path_ = path; }
    // Per-user folder in which every run makes a working folder of its own for
    // names.dat, the engine's scratch files and its results.
    static QString RunFolder();

    // Opens (or brings to the front) a table's window.
    TTableForm* OpenTable(TGridTable& table);
    // Recomputes a menu as when it opens (for the menus' aboutToShow).
    void UpdateMenu(QMenu* menu);

    // --- Handlers ------------------------------------------------------------------
    void FileNewClick();
    void FileOpenClick();
    void FileSaveClick();
    void FileSaveAsClick();
    void FileExportPdfClick();
    void CompRunClick();
    // Opens path as the project; format 0 chooses by extension.
    void OpenByPath(const QString& path, int format = 0);
    // Save prompt: true to go on, false to abort the action that asked.
    bool SavePrompt();
    // Save and Save As; true when the data file was written.
    bool SaveProject();
    bool SaveAsProject();
    // Stores the current stage into its stage file and loads stage (modified state kept).
    void SwitchStage(int stage);
    // "Update &Current Stage", "Copy &Previous Stage", the staged options dialog.
    void StageUpdateClick();
    void StageCopyPrevClick();
    void StagedOptionsClick();
    // The staged options' OK with count stages: stage files, status bar, stage menu.
    void ApplyStageCount(int count);
    void ShowPlot(TGraphKind kind);
    void OpenInTextEditor(const QString& path);
    void RefreshResultButtons();
    void RefreshStageButtons();
    void ApplyLongTermSwap();
    // Edit > Undo and Redo: the entries in progress are taken first.
    void EditUndoClick();
    void EditRedoClick();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();

    QAction* NewAction(const QString& name, const QString& caption,
                       void (TMainForm::*slot)() = nullptr);
    QAction* Toggle(const QString& name, const QString& caption, bool TProjectFields::*flag,
                    const QString& closes = {});
    QAction* Find(const QString& name) const;

    void FileMenuAboutToShow();
    void DataMenuAboutToShow();
    void OptionsMenuAboutToShow();
    // The earth-pressure radio mark on type (1 to 3), none for 0.
    void ShowPressureMark(int type);
    void StageMenuAboutToShow();
    void ComputationMenuAboutToShow();
    void GraphicsMenuAboutToShow();
    void WindowMenuAboutToShow();
    // Entries of the open windows into the project; false stops the action.
    bool TakeEdits();
    // The open dialogs and tables show the project anew; those whose data no
    // longer apply are closed.
    void RefreshWindows();
    // The Data tool buttons take the enabled state of their menu items.
    void RefreshDataButtons();

    TResultState CurrentResultState() const;
    void SetTitle();
    void UpdateStageDisplay();
    // After a staged data file was read in format: its stage files, older stages converted.
    void OpenStages(int format);
    void AfterProjectChange();
    void CloseChildWindow(const QString& caption);
    void CloseAllChildren();
    // A child window standing in for a dialog of a later version, one instance each.
    void ShowPlaceholder(const QString& caption, const QString& note,
                         const std::vector<std::pair<QString, TGridTable*>>& tables = {});
    void ShowOptionsDialog();
    void ShowAbout();
    // Recomputes menu as when it opens, then triggers its item name when enabled.
    void TriggerAsNow(QMenu* menu, const char* name);
    void ArrangeIcons();
    // True (after telling the user) when the project was opened read-only and
    // the action would write it or its stage files.
    bool RefusedReadOnly(bool staged_only = false);

    // Declared first: the tables outlive the project and the windows that show them.
    std::unique_ptr<TProgramTables> tables_;
    TProgramData* project_;
    TProjectHistory* history_;  // undo and redo of the project's values (project_history.h)
    std::unique_ptr<TResultGraphs> graphs_;
    QMdiArea* mdi_area_;

    bool plot_data_loaded_ = false;
    QString text_editor_path_;
    TRecentFiles recent_;
    QString engine_library_path_;
    // Present only while a run is in progress.
    std::unique_ptr<TDynamicLibrary> engine_;
    // The lock on the open project's stage-file set; none while read-only.
    TProjectLock lock_;
    bool read_only_ = false;
    std::unique_ptr<TDesignSession> design_;  // section, grade and checks, beside the data file

    std::map<QString, QAction*> actions_;
    QMenu* file_menu_ = nullptr;
    QMenu* edit_menu_ = nullptr;
    QMenu* data_menu_ = nullptr;
    QMenu* soil_menu_ = nullptr;
    QMenu* dist_menu_ = nullptr;
    QMenu* options_menu_ = nullptr;
    QMenu* units_menu_ = nullptr;
    QMenu* pressure_menu_ = nullptr;
    QMenu* stage_menu_ = nullptr;
    QMenu* computation_menu_ = nullptr;
    QMenu* graphics_menu_ = nullptr;
    QMenu* window_menu_ = nullptr;
    QMenu* view3d_menu_ = nullptr;
    TGeometryViews* views_ = nullptr;  // side and 3D views, created on first use
    QMenu* help_menu_ = nullptr;
    QActionGroup* unit_group_ = nullptr;
    QActionGroup* pressure_group_ = nullptr;
    std::array<QAction*, TRecentFiles::kSlots> recent_actions_{};
    QAction* recent_separator_ = nullptr;
    QAction* window_separator_ = nullptr;
    std::array<QAction*, 50> window_actions_{};
    QToolBar* tool_bar_ = nullptr;
    QLabel* status_panel_ = nullptr;
    std::map<QString, QPointer<QMdiSubWindow>> placeholders_;
};

}  // namespace korvel
