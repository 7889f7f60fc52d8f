#include "main/help_window.h"

#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "entry/ui/child_window.h"

// The guides live in a static library: their resources are registered by name,
// since nothing else would pull the resource object into the program.
static void InitGuides() {
    Q_INIT_RESOURCE(guides);
}

namespace korvel {
namespace {

constexpr const char* kCaption = "KORVEL Help";
// Smallest window (pixels) in which a page of text and its tables still read.
constexpr int kMinWidth = 480;
constexpr int kMinHeight = 360;

}  // namespace

const char* THelpWindow::ResourcePath(TDocument document) {
    return document == TDocument::kUserGuide ? "qrc:/docs/user-guide.md"
                                             : "qrc:/docs/technical-guide.md";
}

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent), browser_(new QTextBrowser(this)) {
    InitGuides();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QLatin1String(kCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(kMinWidth, kMinHeight);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);
    // Links to the web leave the program; links between the guides stay here.
    browser_->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    auto* user = new QPushButton(QStringLiteral("&User Guide"), this);
    auto* technical = new QPushButton(QStringLiteral("&Technical Guide"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    for (QPushButton* b : {user, technical, back, forward}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    connect(user, &QPushButton::clicked, this, [this] { ShowDocument(TDocument::kUserGuide); });
    connect(technical, &QPushButton::clicked, this,
            [this] { ShowDocument(TDocument::kTechnicalGuide); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
}

void THelpWindow::ShowDocument(TDocument document) {
    browser_->setSource(QUrl(QLatin1String(ResourcePath(document))),
                        QTextDocument::MarkdownResource);
}

THelpWindow* THelpWindow::Show(QMdiArea* area, TDocument document) {
    THelpWindow* help = nullptr;
    QMdiSubWindow* window = nullptr;
    for (QMdiSubWindow* w : area->subWindowList()) {
        if (auto* h = qobject_cast<THelpWindow*>(w->widget())) {
            help = h;
            window = w;
            break;
        }
    }
    if (!help) {
        help = new THelpWindow;
        window = area->addSubWindow(help);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    help->ShowDocument(document);
    if (window->isMinimized()) window->showNormal();
    PlaceChildWindow(window);
    window->show();
    area->setActiveSubWindow(window);
    return help;
}

}  // namespace korvel
