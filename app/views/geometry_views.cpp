#include "views/geometry_views.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "entry/ui/child_window.h"
#include "project/program_data.h"
#include "views/dlg_block.h"
#include "views/dlg_side_view.h"

namespace korvel {

namespace {

// The show flag of each "Show 3DView" item.
bool T3DShowFlags::*const kShowFlags[] = {&T3DShowFlags::Wall,
                                          &T3DShowFlags::SoilLayers,
                                          &T3DShowFlags::WaterLevel,
                                          &T3DShowFlags::AdditionalSurcharge,
                                          &T3DShowFlags::ConcentratedLoads,
                                          &T3DShowFlags::TieBacks,
                                          &T3DShowFlags::BoundaryConditions,
                                          &T3DShowFlags::LateralSprings};

constexpr TMouseMode kModes[] = {TMouseMode::kPanning, TMouseMode::kZoomWindow,
                                 TMouseMode::kZooming, TMouseMode::kRotating};
constexpr int kZoomIn = 4;
constexpr int kZoomOut = 5;
constexpr int kRestart = 6;
constexpr int kDeformed = 7;
constexpr int kDeformedItem = 8;

}  // namespace

TGeometryViews::TGeometryViews(QMdiArea* area, TProgramData& project, QObject* parent)
    : QObject(parent), area_(area), project_(project) {}

void TGeometryViews::Attach3DControls(QMenu* menu, const std::array<QAction*, kShowItems>& items,
                                      const std::array<QAction*, kTools>& tools,
                                      QAction* separator) {
    menu_ = menu;
    separator_ = separator;
    if (menu != nullptr) connect(menu, &QMenu::aboutToShow, this, &TGeometryViews::UpdateShowMenu);
    for (int i = 0; i < kShowItems; ++i) {
        items_[static_cast<size_t>(i)] = items[static_cast<size_t>(i)];
        QAction* item = items[static_cast<size_t>(i)];
        if (item == nullptr) continue;
        item->setCheckable(true);
        if (i == kDeformedItem) {
            connect(item, &QAction::triggered, this, [this] {
                UpdateShowMenu();
                if (view_3d_ && DeformedAvailable()) view_3d_->DeformedShapeWindow();
            });
            continue;
        }
        connect(item, &QAction::triggered, this, [this, i] {
            if (!view_3d_) return;
            bool& flag = view_3d_->ShowFlags().*kShowFlags[i];
            flag = !flag;
            view_3d_->RedrawComplete();
            UpdateShowMenu();
        });
    }
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < kTools; ++i) {
        tools_[static_cast<size_t>(i)] = tools[static_cast<size_t>(i)];
        QAction* tool = tools[static_cast<size_t>(i)];
        if (tool == nullptr) continue;
        if (i < 4) {
            tool->setCheckable(true);
            group->addAction(tool);
            const TMouseMode mode = kModes[i];
            connect(tool, &QAction::triggered, this, [this, mode] {
                if (view_3d_) view_3d_->SetMouseMode(mode);
            });
        } else if (i == kZoomIn || i == kZoomOut) {
            const double factor = i == kZoomIn ? kZoomInFactor : kZoomOutFactor;
            connect(tool, &QAction::triggered, this, [this, factor] {
                if (view_3d_) view_3d_->Zooming(factor);
            });
        } else if (i == kRestart) {
            connect(tool, &QAction::triggered, this, [this] {
                if (view_3d_) view_3d_->RestartViewButtonClick();
            });
        } else if (i == kDeformed) {
            connect(tool, &QAction::triggered, this, [this] {
                if (view_3d_ && DeformedAvailable()) view_3d_->DeformedShapeWindow();
            });
        }
    }
    SetControlsVisible(view_3d_ != nullptr);
}

TDlgSideView* TGeometryViews::SideView() const {
    return side_view_;
}

TDlgBlock* TGeometryViews::View3D() const {
    return view_3d_;
}

bool TGeometryViews::DeformedAvailable() const {
    return DeformedShapeAvailable ? DeformedShapeAvailable() : false;
}

TDlgSideView* TGeometryViews::OpenSideView() {
    if (!side_view_) {
        side_view_ = new TDlgSideView(project_);
        side_window_ = area_->addSubWindow(side_view_);
        side_window_->setAttribute(Qt::WA_DeleteOnClose);
        connect(&project_, &TProgramData::valuesChanged, side_view_, &TDlgSideView::FormActivate);
    }
    PlaceChildWindow(side_window_);
    side_window_->show();
    area_->setActiveSubWindow(side_window_);
    side_view_->FormActivate();
    return side_view_;
}

TDlgBlock* TGeometryViews::Open3DView() {
    if (!view_3d_) {
        view_3d_ = new TDlgBlock(project_);
        view_3d_->DeflectionSource = DeflectionSource;
        window_3d_ = area_->addSubWindow(view_3d_);
        window_3d_->setAttribute(Qt::WA_DeleteOnClose);
        connect(view_3d_, &TDlgBlock::closing, this, &TGeometryViews::Close3DView);
        connect(&project_, &TProgramData::valuesChanged, view_3d_, &TDlgBlock::RedrawComplete);
        // The mode buttons start released with no mode.
        for (int i = 0; i < 4; ++i) {
            if (tools_[static_cast<size_t>(i)]) tools_[static_cast<size_t>(i)]->setChecked(false);
        }
    }
    SetControlsVisible(true);
    if (tools_[kDeformed]) tools_[kDeformed]->setEnabled(DeformedAvailable());
    PlaceChildWindow(window_3d_);
    window_3d_->show();
    area_->setActiveSubWindow(window_3d_);
    return view_3d_;
}

void TGeometryViews::Close3DView() {
    SetControlsVisible(false);
    view_3d_ = nullptr;
}

void TGeometryViews::CloseAll() {
    if (window_3d_) window_3d_->close();
    if (side_window_) side_window_->close();
}

void TGeometryViews::ShowNewResults() {
    if (side_view_) side_view_->FormActivate();
    if (view_3d_) {
        if (tools_[kDeformed]) tools_[kDeformed]->setEnabled(DeformedAvailable());
        view_3d_->RedrawComplete();
    }
}

void TGeometryViews::SetControlsVisible(bool visible) {
    if (menu_) menu_->menuAction()->setVisible(visible);
    for (const QPointer<QAction>& tool : tools_) {
        if (tool) tool->setVisible(visible);
    }
    if (separator_) separator_->setVisible(visible);
}

void TGeometryViews::UpdateShowMenu() {
    if (!view_3d_) return;
    for (int i = 0; i < kShowItems - 1; ++i) {
        if (items_[static_cast<size_t>(i)])
            items_[static_cast<size_t>(i)]->setChecked(view_3d_->ShowFlags().*kShowFlags[i]);
    }
    const bool available = DeformedAvailable();
    if (items_[kDeformedItem]) {
        items_[kDeformedItem]->setChecked(view_3d_->Deformed().DeformedShape);
        items_[kDeformedItem]->setEnabled(available);
    }
    if (tools_[kDeformed]) tools_[kDeformed]->setEnabled(available);
}

}  // namespace korvel
