// TDataDialogs: the input dialogs of the Data menu as the main window keeps them.
// Each dialog is created on first use as a child window of the MDI area and
// remembered while it is open, so a second request brings the same window
// forward; once closed it is forgotten.
#pragma once

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <functional>

class QMdiArea;

namespace korvel {

class TDataDialog;
class TProgramData;
struct TProgramTables;

class TDataDialogs : public QObject {
    Q_OBJECT

  public:
    TDataDialogs(TProgramData& project, TProgramTables& tables, QMdiArea* area,
                 QObject* parent = nullptr);

    // Each opens its dialog or brings the open one forward, and returns it.
    TDataDialog* ShowTitle();
    TDataDialog* ShowWallProperties();
    TDataDialog* ShowWallConfiguration();
    TDataDialog* ShowConcentratedLoads();
    TDataDialog* ShowSprings();
    TDataDialog* ShowTieback();
    TDataDialog* ShowSurcharge();

  private:
    TDataDialog* Show(QPointer<QMdiSubWindow>& slot, const std::function<TDataDialog*()>& create);

    TProgramData& project_;
    TProgramTables& tables_;
    QMdiArea* area_;
    QPointer<QMdiSubWindow> title_;
    QPointer<QMdiSubWindow> properties_;
    QPointer<QMdiSubWindow> configuration_;
    QPointer<QMdiSubWindow> concentrated_loads_;
    QPointer<QMdiSubWindow> springs_;
    QPointer<QMdiSubWindow> tieback_;
    QPointer<QMdiSubWindow> surcharge_;
};

}  // namespace korvel
