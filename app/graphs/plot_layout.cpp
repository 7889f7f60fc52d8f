#include "graphs/plot_layout.h"

#include <algorithm>

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

QRectF LegendArea(const TPlotLayout& layout, const QPointF& at) {
    if (layout.Panels.size() < 2) return layout.Plot;
    const QRectF* best = &layout.Panels.front();
    double distance = 1e300;
    for (const QRectF& panel : layout.Panels) {
        const double d = at.x() < panel.left()    ? panel.left() - at.x()
                         : at.x() > panel.right() ? at.x() - panel.right()
                                                  : 0;
        if (d < distance) {
            distance = d;
            best = &panel;
        }
    }
    return *best;
}

QRectF LegendInside(const QRectF& box, const QRectF& plot, const QRectF& picture) {
    // One axis at a time: inside plot when it fits there, else from plot's near
    // edge, then back inside the picture when that edge pushes it out.
    const auto place = [](double at, double size, double lo, double hi, double outer_lo,
                          double outer_hi) {
        double v = size <= hi - lo ? std::clamp(at, lo, hi - size) : lo;
        if (v + size > outer_hi) v = outer_hi - size;
        return std::max(v, outer_lo);
    };
    const double x =
        place(box.left(), box.width(), plot.left(), plot.right(), picture.left(), picture.right());
    const double y =
        place(box.top(), box.height(), plot.top(), plot.bottom(), picture.top(), picture.bottom());
    return {QPointF(x, y), box.size()};
}

}  // namespace korvel
