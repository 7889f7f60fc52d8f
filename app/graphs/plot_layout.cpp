#include "graphs/plot_layout.h"

namespace korvel {

TPlotLayout ComputePlotLayout(const TLayoutInput& in) {
    const double t = in.T;
    double left = 2 * t + in.Dx / 8 + t / 8;
    double right = in.Width - in.Dx / 4 - t / 2;
    double top = 0;
    double bottom = 0;
    if (in.XOnTop) {
        top = 2 * t + in.Dy / 8 + t / 8;
        bottom = in.Height - in.Dy / 4 - t / 2;
    } else {
        top = t / 2 + in.Dy / 4;
        bottom = in.Height - 2 * t - in.Dy / 8 - t / 8;
    }
    if (in.Title == TTitlePlace::kTop) top += t / 8 + t;
    if (in.Title == TTitlePlace::kBottom) bottom -= t;

    TPlotLayout layout;
    if (in.ShowLayers) {
        // The plot gives up one inch at the right; the column starts Dx/5 after it.
        layout.LayerColumn =
            QRectF(QPointF(right - in.Dx + in.Dx / 5, top), QPointF(right, bottom));
        right -= in.Dx;
    }
    layout.Plot = QRectF(QPointF(left, top), QPointF(right, bottom));
    if (in.ShowThree) {
        const double gap = 2 * t + in.Dx / 4;
        const double width = (layout.Plot.width() - 4 * t - in.Dx / 2) / 3;
        for (int i = 0; i < 3; ++i) {
            layout.Panels.push_back(QRectF(left + i * (width + gap), top, width, bottom - top));
        }
    } else {
        layout.Panels.push_back(layout.Plot);
    }
    return layout;
}

}  // namespace korvel
