// THelpWindow: the program's offline help. The user guide and the technical guide
// are Markdown files built into the program as Qt resources (":/docs/..."), so no
// file or desktop launcher is looked for; one child window of the main window's
// MDI area shows them, with links between the two and Back and Forward buttons.
#pragma once

#include <QWidget>

class QMdiArea;
class QTextBrowser;

namespace korvel {

class THelpWindow : public QWidget {
    Q_OBJECT

  public:
    enum class TDocument { kUserGuide, kTechnicalGuide };

    explicit THelpWindow(QWidget* parent = nullptr);

    // Opens the help window in area (one instance, brought to the front) at
    // document's start.
    static THelpWindow* Show(QMdiArea* area, TDocument document);
    void ShowDocument(TDocument document);
    QTextBrowser* Browser() const { return browser_; }

    static const char* ResourcePath(TDocument document);

  private:
    QTextBrowser* browser_;
};

}  // namespace korvel
