// A stage file deleted from outside while its project is open: before a save, a
// stage switch or a unit switch needs it, the user is offered to restore it from
// the data file (the stage as last saved). A stage is never made up from
// another one; when the data file does not hold it, the action is refused.
#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace korvel {

class TProgramData;

// Asks for each stage of stages in turn; true when every one was restored.
// refused_action says what does not happen otherwise ("The project was not saved.").
bool RestoreMissingStages(QWidget* parent, TProgramData& project, const QList<int>& stages,
                          const QString& refused_action);

}  // namespace korvel
