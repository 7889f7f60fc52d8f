#include "views/dlg_block.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QOpenGLFunctions_1_1>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "project/program_data.h"
#include "views/dlg_deformed_shape.h"
#include "views/gl_scene_painter.h"
#include "views/gl_window.h"
#include "views/scene_builder.h"

namespace korvel {

namespace {

// Length of the axes in pixels.
constexpr double kAxisPixels = 80.0;
// Smallest view (pixels) that holds the axes and a readable model.
constexpr int kMinWidth = 320;
constexpr int kMinHeight = 240;
constexpr TColor kAxisColors[] = {{0, 0, 1, 1}, {0, 1, 0, 1}, {1, 0, 0, 1}};

TShiftState ShiftOf(const QMouseEvent* e) {
    TShiftState s;
    s.Left = e->buttons().testFlag(Qt::LeftButton);
    s.Right = e->buttons().testFlag(Qt::RightButton);
    s.Middle = e->buttons().testFlag(Qt::MiddleButton);
    s.Shift = e->modifiers().testFlag(Qt::ShiftModifier);
    s.Ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    s.Alt = e->modifiers().testFlag(Qt::AltModifier);
    return s;
}

}  // namespace

TDlgBlock::TDlgBlock(TProgramData& project, QWidget* parent) : QWidget(parent), project_(project) {
    setObjectName(QStringLiteral("DlgBlock"));
    setWindowTitle(QStringLiteral("3-D View"));
    setAttribute(Qt::WA_DeleteOnClose);
    gl_ = new TglWindow(this);
    gl_->setObjectName(QStringLiteral("gl"));
    gl_->BackgroundColor = Qt::black;
    gl_->Blending = false;
    gl_->DepthTesting = false;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gl_);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(640, 480);

    gl_->OnCreate = [this] {
        // A new context holds none of the old lists.
        pile_list_ = 0;
        soil_list_ = 0;
        gl_->RequestRebuild();
    };
    gl_->OnPaint = [this] { glRender(); };
    gl_->OnOverlay = [this](QPainter& painter) { DrawOverlay(painter); };
    gl_->OnMouseDown = [this](QMouseEvent* e) { MouseEvent(e, 0); };
    gl_->OnMouseMove = [this](QMouseEvent* e) { MouseEvent(e, 1); };
    gl_->OnMouseUp = [this](QMouseEvent* e) { MouseEvent(e, 2); };
}

TDlgBlock::~TDlgBlock() {
    if (gl_->context() != nullptr) {
        gl_->makeCurrent();
        FreeLists();
        gl_->doneCurrent();
    }
}

void TDlgBlock::FreeLists() {
    if (gl_->GL() == nullptr) return;
    if (pile_list_ != 0) gl_->GL()->glDeleteLists(pile_list_, 1);
    if (soil_list_ != 0) gl_->GL()->glDeleteLists(soil_list_, 1);
    pile_list_ = 0;
    soil_list_ = 0;
}

void TDlgBlock::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Activate();
}

bool TDlgBlock::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Activate();
    return QWidget::event(e);
}

void TDlgBlock::Activate() {
    if (!activated_) {
        // The extents stay as the project was at the first activation.
        extents_ = GetMaxDims(project_);
        activated_ = true;
        gl_->RequestRebuild();
    }
    RedrawFigure();
}

void TDlgBlock::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    gl_->RequestRebuild();
}

void TDlgBlock::closeEvent(QCloseEvent* event) {
    if (deformed_dialog_) deformed_dialog_->close();
    Q_EMIT closing();
    QWidget::closeEvent(event);
}

void TDlgBlock::RedrawComplete() {
    gl_->RequestRebuild();
    RedrawFigure();
}

void TDlgBlock::RedrawFigure() {
    gl_->Repaint();
}

void TDlgBlock::Zooming(double factor) {
    view_.Zooming(factor);
    RedrawFigure();
}

void TDlgBlock::RestartViewButtonClick() {
    view_.RestartView();
    RedrawFigure();
}

void TDlgBlock::SetMouseMode(TMouseMode mode) {
    view_.Mode = mode;
    view_.ZoomWindow = mode == TMouseMode::kZoomWindow;
}

TDlgDeformedShape* TDlgBlock::DeformedShapeWindow() {
    if (!deformed_dialog_)
        deformed_dialog_ = new TDlgDeformedShape(
            deformed_, [this] { RedrawComplete(); }, this);
    deformed_dialog_->show();
    deformed_dialog_->raise();
    deformed_dialog_->activateWindow();
    return deformed_dialog_;
}

TDlgDeformedShape* TDlgBlock::DeformedShapeDialog() const {
    return deformed_dialog_;
}

std::vector<double> TDlgBlock::Deflections() const {
    if (DeflectionSource) return DeflectionSource();
    std::vector<double> out;
    const auto& set = project_.Results.Sets.front().Deflection;
    const int n = std::min<int>(project_.Increments + 1, static_cast<int>(set.size()));
    for (int i = 0; i < n; ++i) out.push_back(static_cast<double>(set[static_cast<size_t>(i)]));
    return out;
}

void TDlgBlock::glSetupRC() {
    QOpenGLFunctions_1_1& gl = *gl_->GL();
    const int w = gl_->width();
    const int h = gl_->height();
    ortho_depth_ = OrthoDepth(extents_.D, extents_.S, w, h);
    view_.FitScale = FitScale(extents_.D, extents_.A, w, h);

    TSceneInput input;
    input.Show = show_;
    input.Deformed = deformed_;
    if (deformed_.DeformedShape) input.Deflection = Deflections();
    input.Extents = extents_;
    const TScene scene = BuildScene(project_, input);

    FreeLists();
    pile_list_ = gl.glGenLists(1);
    gl.glNewList(pile_list_, GL_COMPILE);
    PaintSceneList(gl, scene.PileCap);
    gl.glEndList();
    soil_list_ = gl.glGenLists(1);
    gl.glNewList(soil_list_, GL_COMPILE);
    PaintSceneList(gl, scene.SoilLayers);
    gl.glEndList();
    soil_blend_ = scene.SoilLayers.Blend;
    ++rebuilds_;
}

void TDlgBlock::glRender() {
    if (gl_->RebuildRequested() || pile_list_ == 0) {
        glSetupRC();
        gl_->RebuildDone();
    }
    DrawFigure();
}

void TDlgBlock::DrawFigure() {
    QOpenGLFunctions_1_1& gl = *gl_->GL();
    const int w = gl_->width();
    const int h = gl_->height();
    gl.glClearColor(1, 1, 1, 1);
    gl.glColorMask(1, 1, 1, 1);
    gl.glClearDepth(1.0);
    gl.glDepthMask(GL_TRUE);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(-w / 2.0, w / 2.0, -h / 2.0, h / 2.0, -ortho_depth_, ortho_depth_);
    gl.glMatrixMode(GL_MODELVIEW);
    view_.Recorded = view_.ModelView(extents_.Centre);
    gl.glLoadMatrixd(view_.Recorded.data());
    gl.glShadeModel(GL_SMOOTH);
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_LEQUAL);
    gl.glEnable(GL_CULL_FACE);
    gl.glCullFace(GL_BACK);
    gl.glFrontFace(GL_CCW);
    gl.glDisable(GL_LIGHTING);
    gl.glDisable(GL_TEXTURE_2D);
    // Translucent items blend; the framebuffer's alpha stays 1 so grabs compose right.
    gl.glEnable(GL_BLEND);
    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glColorMask(1, 1, 1, 0);
    if (pile_list_ != 0) gl.glCallList(pile_list_);
    if (soil_list_ != 0) gl.glCallList(soil_list_);

    gl.glDisable(GL_DEPTH_TEST);
    gl.glDisable(GL_CULL_FACE);
    if (show_.Axes) {
        const double length = kAxisPixels / (view_.FitScale * view_.Zoom);
        const TVec3 ends[] = {{length, 0, 0}, {0, length, 0}, {0, 0, -length}};
        gl.glLineWidth(1.0f);
        gl.glBegin(GL_LINES);
        for (int i = 0; i < 3; ++i) {
            gl.glColor4f(kAxisColors[i].r, kAxisColors[i].g, kAxisColors[i].b, 1.0f);
            gl.glVertex3d(0, 0, 0);
            gl.glVertex3d(ends[i].x, ends[i].y, ends[i].z);
        }
        gl.glEnd();
    }
    gl.glColorMask(1, 1, 1, 1);
    gl.glDisable(GL_BLEND);
    gl.glLoadIdentity();
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glMatrixMode(GL_MODELVIEW);
}

void TDlgBlock::DrawOverlay(QPainter& painter) {
    const double w = gl_->width();
    const double h = gl_->height();
    if (show_.Axes) {
        const double length = kAxisPixels / (view_.FitScale * view_.Zoom);
        const TVec3 ends[] = {{length, 0, 0}, {0, length, 0}, {0, 0, -length}};
        const char* labels[] = {"X", "Y", "D"};
        for (int i = 0; i < 3; ++i) {
            const TVec3 eye = Transform(view_.Recorded, ends[i]);
            painter.setPen(QColor::fromRgbF(kAxisColors[i].r, kAxisColors[i].g, kAxisColors[i].b));
            painter.drawText(QPointF(w / 2 + eye.x, h / 2 - eye.y), QString::fromLatin1(labels[i]));
        }
    }
    if (view_.Selecting) {
        painter.setPen(QPen(QColor(0, 255, 0), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(QPointF(view_.Press.x, view_.Press.y),
                                QPointF(view_.Current.x, view_.Current.y)));
    }
}

void TDlgBlock::MouseEvent(QMouseEvent* e, int kind) {
    const TPixel at{static_cast<int>(e->position().x()), static_cast<int>(e->position().y())};
    TShiftState state = ShiftOf(e);
    bool repaint = false;
    if (kind == 0) {
        repaint = view_.MouseDown(at, state);
    } else if (kind == 1) {
        repaint = view_.MouseMove(at, state, gl_->width(), gl_->height());
    } else {
        repaint = view_.MouseUp(at, state, gl_->width(), gl_->height());
    }
    if (repaint) RedrawFigure();
}

}  // namespace korvel
