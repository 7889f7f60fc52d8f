// The event an editing window sends when it has changed a table in a way the
// user can undo as one step (a cell entered, rows added or deleted, a block
// pasted or cleared). It goes to the top-level table (the table itself, or the
// table whose flex cell holds it), where the project's history watches for it
// (project_history.h) without the table knowing of any history.
#pragma once

#include <QEvent>
#include <QString>

namespace korvel {

class TGridTable;

class TTableEditEvent : public QEvent {
  public:
    explicit TTableEditEvent(const QString& change);
    // The event type, registered once.
    static QEvent::Type EventType();
    // What was done, as the Edit menu names it ("Paste in Soil Layers").
    const QString& Change() const { return change_; }

  private:
    QString change_;
};

// Sends a TTableEditEvent with change to the top-level table of table.
void NotifyTableEdited(TGridTable& table, const QString& change);

}  // namespace korvel
