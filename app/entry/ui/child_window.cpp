#include "entry/ui/child_window.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QVariantMap>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace korvel {
namespace {

// The area keeps the last size of each kind of child window in this property,
// keyed by the content's object name, so that a window opened again (after a run
// closed it, or after the user closed it) comes back as the user left it.
constexpr const char* kLastSizes = "korvelChildWindowSizes";
// Set on a window once it remembers its size.
constexpr const char* kHasMemory = "korvelRemembersSize";
// A window below this size (frame included) counts as collapsed.
constexpr int kCollapsedWidth = 160;
constexpr int kCollapsedHeight = 100;

QString KeyOf(const QMdiSubWindow* window) {
    const QWidget* content = window->widget();
    return content ? content->objectName() : QString();
}

QSize RememberedSize(const QMdiArea* area, const QString& key) {
    if (!area || key.isEmpty()) return {};
    return area->property(kLastSizes).toMap().value(key).toSize();
}

// Stores the window's size in its area when it closes in its normal state.
class TSizeMemory : public QObject {
  public:
    explicit TSizeMemory(QMdiSubWindow* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Close && !window_->isMinimized() &&
            !window_->isMaximized()) {
            QMdiArea* area = window_->mdiArea();
            const QString key = KeyOf(window_);
            if (area && !key.isEmpty()) {
                QVariantMap sizes = area->property(kLastSizes).toMap();
                sizes.insert(key, window_->size());
                area->setProperty(kLastSizes, sizes);
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QMdiSubWindow* window_;
};

// Title bar and borders of a sub-window around its content.
QSize FrameExtra(const QMdiSubWindow* window) {
    QStyleOptionTitleBar option;
    option.initFrom(window);
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, window);
    const int border =
        window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    return {2 * border, title + border};
}

QSize AreaSize(const QMdiArea* area) {
    if (!area) return {};
    const QSize viewport = area->viewport()->size();
    // Before the main window is laid out the viewport has no size yet.
    return viewport.isValid() && !viewport.isEmpty() ? viewport : area->size();
}

QSize OpeningSize(const QMdiSubWindow* window, const QMdiArea* area) {
    return ChildWindowSize(AreaSize(area), ChildWindowNeeds(window),
                           RememberedSize(area, KeyOf(window)));
}

}  // namespace

QSize ChildWindowSize(const QSize& area, const QSize& needed, const QSize& last, double share) {
    QSize size = last;
    if (!size.isValid() || size.isEmpty()) {
        size = QSize(static_cast<int>(std::lround(area.width() * share)),
                     static_cast<int>(std::lround(area.height() * share)));
    }
    size = size.expandedTo(needed);
    // Never beyond the area, unless the area is too small for the content.
    if (area.width() > 0)
        size.setWidth(std::min(size.width(), std::max(area.width(), needed.width())));
    if (area.height() > 0)
        size.setHeight(std::min(size.height(), std::max(area.height(), needed.height())));
    return size;
}

QSize ChildWindowNeeds(const QMdiSubWindow* window) {
    QSize content(0, 0);
    if (const QWidget* widget = window->widget()) {
        content = widget->minimumSizeHint().expandedTo(widget->minimumSize());
        content = content.expandedTo(QSize(0, 0));
    }
    return content + FrameExtra(window);
}

void PlaceChildWindow(QMdiSubWindow* window) {
    if (!window) return;
    if (!window->property(kHasMemory).toBool()) {
        new TSizeMemory(window);
        window->setProperty(kHasMemory, true);
    }
    if (window->isMaximized() || window->isMinimized()) return;
    const QSize now = window->size();
    const QSize needs = ChildWindowNeeds(window);
    const bool usable = window->isVisible() &&
                        now.width() >= std::max(needs.width(), kCollapsedWidth) &&
                        now.height() >= std::max(needs.height(), kCollapsedHeight);
    if (usable) return;
    QMdiArea* area = window->mdiArea();
    const QSize size = OpeningSize(window, area);
    window->resize(size);
    if (!window->isVisible() && area) {
        // Placed by hand, so that the area does not put it where part of it is
        // cut off: one title bar lower and to the right per open window, as a
        // cascade would, as far as the area allows.
        const QSize bounds = AreaSize(area);
        int open = 0;
        for (const QMdiSubWindow* other : area->subWindowList())
            open += other != window && other->isVisible() && !other->isMinimized();
        const int offset = open * FrameExtra(window).height();
        window->move(std::clamp(offset, 0, std::max(0, bounds.width() - size.width())),
                     std::clamp(offset, 0, std::max(0, bounds.height() - size.height())));
    }
}

void CascadeChildWindows(QMdiArea* area) {
    if (!area) return;
    // The cascade itself sizes every window to its content's size hint: each
    // keeps the size it had instead (a maximised or collapsed one the size it
    // opens at), as far as the area allows from its new place.
    std::vector<std::pair<QMdiSubWindow*, QSize>> sizes;
    for (QMdiSubWindow* window : area->subWindowList()) {
        if (window->isMinimized()) continue;
        const QSize now = window->size();
        const QSize needs = ChildWindowNeeds(window);
        const bool usable = !window->isMaximized() &&
                            now.width() >= std::max(needs.width(), kCollapsedWidth) &&
                            now.height() >= std::max(needs.height(), kCollapsedHeight);
        sizes.emplace_back(window, usable ? now : OpeningSize(window, area));
    }
    area->cascadeSubWindows();
    const QSize bounds = AreaSize(area);
    for (auto& [window, size] : sizes) {
        if (window->isMinimized()) continue;
        const QSize needs = ChildWindowNeeds(window);
        size.setWidth(
            std::max(std::min(size.width(), bounds.width() - window->x()), needs.width()));
        size.setHeight(
            std::max(std::min(size.height(), bounds.height() - window->y()), needs.height()));
        window->resize(size);
    }
}

}  // namespace korvel
