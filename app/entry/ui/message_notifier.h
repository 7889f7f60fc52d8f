// Where the entry widgets send their messages. The program shows an information
// box with an OK button; tests install their own notifier, so that no modal box
// blocks them.
#pragma once

#include <QString>

class QWidget;

namespace korvel {

class TMessageNotifier {
  public:
    virtual ~TMessageNotifier() = default;
    // text may hold "\r" line breaks.
    virtual void Information(QWidget* parent, const QString& text);

    // The notifier in use (the message-box one unless replaced).
    static TMessageNotifier& Current();
    // Replaces the notifier; nullptr restores the message-box one. The caller keeps
    // ownership and must restore it before the notifier is destroyed.
    static void SetCurrent(TMessageNotifier* notifier);
};

// Shows text through the current notifier.
void ShowInformation(QWidget* parent, const QString& text);

}  // namespace korvel
