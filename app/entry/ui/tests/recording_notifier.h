// A notifier that records messages instead of showing modal boxes.
#pragma once

#include <QStringList>

#include "entry/ui/message_notifier.h"

namespace korvel {

class TRecordingNotifier : public TMessageNotifier {
  public:
    TRecordingNotifier() { SetCurrent(this); }
    ~TRecordingNotifier() override { SetCurrent(nullptr); }
    void Information(QWidget*, const QString& text) override { Messages.append(text); }
    QStringList Messages;
};

}  // namespace korvel
