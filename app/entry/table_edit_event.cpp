#include "entry/table_edit_event.h"

#include <QCoreApplication>

#include "entry/grid_table.h"

namespace korvel {

TTableEditEvent::TTableEditEvent(const QString& change) : QEvent(EventType()), change_(change) {}

QEvent::Type TTableEditEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void NotifyTableEdited(TGridTable& table, const QString& change) {
    TGridTable* top = &table;
    while (top->ParentTable()) top = top->ParentTable();
    TTableEditEvent event(change);
    QCoreApplication::sendEvent(top, &event);
}

}  // namespace korvel
