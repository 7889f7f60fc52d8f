#include "dialogs/data_dialogs.h"

#include <QMdiArea>

#include "dialogs/dlg_csd.h"
#include "dialogs/dlg_prop.h"
#include "dialogs/dlg_title.h"
#include "dialogs/load_dialogs.h"
#include "entry/table_definitions.h"
#include "entry/ui/table_form.h"

namespace korvel {

TDataDialogs::TDataDialogs(TProgramData& project, TProgramTables& tables, QMdiArea* area,
                           QObject* parent)
    : QObject(parent), project_(project), tables_(tables), area_(area) {}

TDataDialog* TDataDialogs::Show(QPointer<QMdiSubWindow>& slot,
                                const std::function<TDataDialog*()>& create) {
    if (slot) {
        area_->setActiveSubWindow(slot);
        return qobject_cast<TDataDialog*>(slot->widget());
    }
    TDataDialog* dialog = create();
    slot = area_->addSubWindow(dialog);
    slot->setAttribute(Qt::WA_DeleteOnClose);
    slot->show();
    area_->setActiveSubWindow(slot);
    return dialog;
}

TDataDialog* TDataDialogs::ShowTitle() {
    return Show(title_, [this] { return new TdlgTitle(project_); });
}

TDataDialog* TDataDialogs::ShowWallProperties() {
    return Show(properties_, [this] {
        return new TDlgProp(project_, [this] { TTableForm::ShowTable(*tables_.PileSect, area_); });
    });
}

TDataDialog* TDataDialogs::ShowWallConfiguration() {
    return Show(configuration_, [this] { return new TdlgCSD(project_); });
}

TDataDialog* TDataDialogs::ShowConcentratedLoads() {
    return Show(concentrated_loads_, [this] { return new TDlgConLoads(project_, tables_, area_); });
}

TDataDialog* TDataDialogs::ShowSprings() {
    return Show(springs_, [this] { return new TDlgSpring(project_, tables_, area_); });
}

TDataDialog* TDataDialogs::ShowTieback() {
    return Show(tieback_, [this] { return new TDlgTieback(project_, tables_, area_); });
}

TDataDialog* TDataDialogs::ShowSurcharge() {
    return Show(surcharge_, [this] { return new TDlgRebar(project_, tables_, area_); });
}

}  // namespace korvel
