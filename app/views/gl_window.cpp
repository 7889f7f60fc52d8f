#include "views/gl_window.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QSurfaceFormat>

namespace korvel {

TglWindow::TglWindow(QWidget* parent) : QOpenGLWidget(parent) {
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    // Never a core profile: the scene uses display lists and glBegin/glEnd.
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    setFormat(format);
    setMouseTracking(false);
}

TglWindow::~TglWindow() = default;

void TglWindow::initializeGL() {
    gl_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(context());
    rebuild_ = true;
    if (gl_ != nullptr && OnCreate) OnCreate();
}

void TglWindow::paintGL() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QPainter painter(this);
    painter.beginNativePainting();
    if (gl_ != nullptr) {
        const qreal ratio = devicePixelRatioF();
        gl_->glViewport(0, 0, static_cast<int>(width() * ratio),
                        static_cast<int>(height() * ratio));
        gl_->glClearColor(BackgroundColor.redF(), BackgroundColor.greenF(), BackgroundColor.blueF(),
                          1.0f);
        gl_->glShadeModel(ShadeModel == TGLShadeModel::glFlat ? GL_FLAT : GL_SMOOTH);
        Blending ? gl_->glEnable(GL_BLEND) : gl_->glDisable(GL_BLEND);
        DepthTesting ? gl_->glEnable(GL_DEPTH_TEST) : gl_->glDisable(GL_DEPTH_TEST);
        if (OnPaint) OnPaint();
        last_error_ = gl_->glGetError();
        while (gl_->glGetError() != GL_NO_ERROR) {
        }
        gl_->glFlush();
    }
    painter.endNativePainting();
    if (OnOverlay) OnOverlay(painter);
    painter.end();
    QGuiApplication::restoreOverrideCursor();
}

void TglWindow::mousePressEvent(QMouseEvent* event) {
    if (OnMouseDown) OnMouseDown(event);
}

void TglWindow::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove(event);
}

void TglWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (OnMouseUp) OnMouseUp(event);
}

}  // namespace korvel
