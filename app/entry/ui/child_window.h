// Sizes of the main window's child windows. A child window opens at the size it
// had when it was last closed, else at a share of the MDI area, and never smaller
// than its content needs nor larger than the area. Window › Cascade and restoring a
// maximised window keep to the same sizes, so that no window ends up as a bare
// title bar. All sizes are in device-independent pixels.
#pragma once

#include <QSize>

class QMdiArea;
class QMdiSubWindow;

namespace korvel {

// Share of the MDI area's width and height a child window takes when it opens.
constexpr double kChildWindowShare = 0.7;

// Size of a child window's frame (title bar and borders included): last when it is
// valid, else share of area; then at least needed, and at most area where area can
// hold needed (a smaller area is scrolled).
QSize ChildWindowSize(const QSize& area, const QSize& needed, const QSize& last,
                      double share = kChildWindowShare);

// Sizes window for its area before it is shown: the size remembered for its
// content's object name, else a share of the area, at least what the content
// needs. A window that was shown already keeps a usable size it has. The window
// remembers its size when it closes, for the next window with that content.
void PlaceChildWindow(QMdiSubWindow* window);

// Window › Cascade: cascades the windows, each keeping the size it had (a
// maximised or collapsed one the size it opens at); a cascade alone shrinks
// windows to their content's size hint.
void CascadeChildWindows(QMdiArea* area);

// The smallest frame size for window's content: the content's minimum plus the
// frame's title bar and borders.
QSize ChildWindowNeeds(const QMdiSubWindow* window);

}  // namespace korvel
