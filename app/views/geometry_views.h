// TGeometryViews: the main window's handle on the geometry views. It creates the
// side view and the 3D view on first use as sub-windows of the main window's MDI
// area, shows and hides the "Show 3DView" menu and the 3D tool buttons while the
// 3D view exists, and routes their commands to it.
//
// Hook (main window):
//   views_ = new TGeometryViews(mdi_area_, *project_, this);
//   views_->DeflectionSource = [this] { ...first curve of pltDef, X of each point... };
//   views_->DeformedShapeAvailable = [this] { ...Graphics rule for "Deflection vs Depth"... };
//   views_->Attach3DControls(view3d_menu_, {View3D0..View3D8}, {Tool3D0..Tool3D7}, separator);
//   "&View Wall Geometry" / "View Soil Profile"  -> views_->OpenSideView()
//   "3D View" (menu and tool button)             -> views_->Open3DView()
//   before a new project replaces the old one    -> views_->CloseAll()
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace korvel {

class TDlgBlock;
class TDlgSideView;
class TProgramData;

class TGeometryViews : public QObject {
    Q_OBJECT

  public:
    // Items of "Show 3DView": the eight show flags, then "Deformed Shape".
    static constexpr int kShowItems = 9;
    // 3D tool buttons: "Panning", "Zoom Window", "Zooming", "Rotating", "Zoom In",
    // "Zoom Out", "Restart View", "Deformed Shape".
    static constexpr int kTools = 8;

    TGeometryViews(QMdiArea* area, TProgramData& project, QObject* parent = nullptr);

    // Deflection of nodes 0..N of the last analysis (the first curve of the
    // deflection graph). Unset: the project's first result set.
    std::function<std::vector<double>()> DeflectionSource;
    // Whether "Deformed Shape" is enabled: the deflection graph holds a result.
    std::function<bool()> DeformedShapeAvailable;

    // The menu and its items, the tool buttons and the separator after the
    // mode and zoom buttons (any may be null). The mode buttons become an
    // exclusive checkable group.
    void Attach3DControls(QMenu* menu, const std::array<QAction*, kShowItems>& items,
                          const std::array<QAction*, kTools>& tools, QAction* separator = nullptr);

    TDlgSideView* OpenSideView();
    // Open3DView: creates the window on first use, shows the menu and buttons.
    TDlgBlock* Open3DView();
    // Closes both views (a new project replaces the old one).
    void CloseAll();
    // After a run: the open views draw the new results (the deformed wall, the
    // marks that follow the plot reading).
    void ShowNewResults();

    TDlgSideView* SideView() const;
    TDlgBlock* View3D() const;

  private:
    void Close3DView();
    void SetControlsVisible(bool visible);
    void UpdateShowMenu();
    bool DeformedAvailable() const;

    QMdiArea* area_;
    TProgramData& project_;
    QPointer<TDlgSideView> side_view_;
    QPointer<TDlgBlock> view_3d_;
    QPointer<QMdiSubWindow> side_window_;
    QPointer<QMdiSubWindow> window_3d_;
    QPointer<QMenu> menu_;
    std::array<QPointer<QAction>, kShowItems> items_{};
    std::array<QPointer<QAction>, kTools> tools_{};
    QPointer<QAction> separator_;
};

}  // namespace korvel
