// TglWindow: the drawing surface of the 3D view, a QOpenGLWidget with a
// compatibility-profile context (legacy calls: display lists, glBegin/glEnd).
// Painting runs between QPainter::beginNativePainting and endNativePainting, so
// that the owner can draw text over the frame with the same painter afterwards.
// The owner plugs in through the On... callbacks and keeps the rebuild flag.
#pragma once

#include <QColor>
#include <QOpenGLWidget>
#include <functional>

class QMouseEvent;
class QOpenGLFunctions_1_1;
class QPainter;

namespace korvel {

enum class TGLShadeModel { glFlat, glSmooth };

class TglWindow : public QOpenGLWidget {
    Q_OBJECT

  public:
    explicit TglWindow(QWidget* parent = nullptr);
    ~TglWindow() override;

    // Legacy GL of the current context; valid inside the callbacks only.
    QOpenGLFunctions_1_1* GL() const { return gl_; }

    QColor BackgroundColor = Qt::black;
    bool Blending = false;
    bool DepthTesting = false;
    TGLShadeModel ShadeModel = TGLShadeModel::glSmooth;

    // The context is new (first show or reparenting): display lists are gone.
    std::function<void()> OnCreate;
    // The frame, in native painting mode.
    std::function<void()> OnPaint;
    // After native painting, with the frame's painter (labels, selection box).
    std::function<void(QPainter&)> OnOverlay;
    std::function<void(QMouseEvent*)> OnMouseDown;
    std::function<void(QMouseEvent*)> OnMouseMove;
    std::function<void(QMouseEvent*)> OnMouseUp;

    // Rebuild wanted / done: glRender tests and clears it.
    void RequestRebuild() { rebuild_ = true; }
    bool RebuildRequested() const { return rebuild_; }
    void RebuildDone() { rebuild_ = false; }
    // Repaint wanted.
    void Repaint() { update(); }
    // Last OpenGL error flag read after a paint (GL_NO_ERROR when none).
    unsigned LastError() const { return last_error_; }

  protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QOpenGLFunctions_1_1* gl_ = nullptr;
    bool rebuild_ = true;
    unsigned last_error_ = 0;
};

}  // namespace korvel
