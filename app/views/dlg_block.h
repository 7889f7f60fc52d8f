// TDlgBlock ("3-D View"): the project as a three-dimensional scene of wall,
// soil layers, water tables, springs, loads, restraints, tiebacks and
// surcharges, and after an analysis the deformed wall. The scene is built by
// BuildScene (plain code) and compiled into two display lists on each rebuild;
// paints replay the lists with the current turn, zoom and pan. The mouse pans,
// zooms, turns or zooms to a window, as the main window's mode buttons choose.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "views/view_state.h"
#include "views/wall_dimensions.h"

namespace korvel {

class TDlgDeformedShape;
class TProgramData;
class TglWindow;

class TDlgBlock : public QWidget {
    Q_OBJECT

  public:
    explicit TDlgBlock(TProgramData& project, QWidget* parent = nullptr);
    ~TDlgBlock() override;

    TglWindow* gl() const { return gl_; }
    T3DViewState& View() { return view_; }
    T3DShowFlags& ShowFlags() { return show_; }
    TDeformedSettings& Deformed() { return deformed_; }
    const TSceneExtents& Extents() const { return extents_; }

    // The deflection line of the last analysis (first curve of the deflection
    // graph, node 0 first). Without a source the project's first result set is used.
    std::function<std::vector<double>()> DeflectionSource;

    // Request a scene rebuild, then RedrawFigure.
    void RedrawComplete();
    // Mark the surface for repaint.
    void RedrawFigure();
    void Zooming(double factor);
    void RestartViewButtonClick();
    // Mode buttons: "Panning" 1, "Zooming" 2, "Rotating" 3, "Zoom Window" 4.
    void SetMouseMode(TMouseMode mode);
    // Opens the "Deformed Shape" dialog, created on first use.
    TDlgDeformedShape* DeformedShapeWindow();
    TDlgDeformedShape* DeformedShapeDialog() const;

    // Number of rebuilds so far (for tests).
    int RebuildCount() const { return rebuilds_; }

  Q_SIGNALS:
    // The window is closing (Close3DView).
    void closing();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void Activate();
    void glSetupRC();
    void glRender();
    void DrawFigure();
    void DrawOverlay(class QPainter& painter);
    void MouseEvent(class QMouseEvent* event, int kind);
    std::vector<double> Deflections() const;
    void FreeLists();

    TProgramData& project_;
    TglWindow* gl_;
    T3DViewState view_;
    T3DShowFlags show_;
    TDeformedSettings deformed_;
    TSceneExtents extents_;
    bool activated_ = false;
    unsigned pile_list_ = 0;  // display list 2: wall and its items
    unsigned soil_list_ = 0;  // display list 5: soil blocks and water tables
    bool soil_blend_ = true;
    double ortho_depth_ = 1.0;
    int rebuilds_ = 0;
    QPointer<TDlgDeformedShape> deformed_dialog_;
};

}  // namespace korvel
