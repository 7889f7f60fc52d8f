// Where the main window asks and tells the user things: information boxes,
// confirmation boxes and the open and save dialogs. The program uses message
// boxes and file dialogs; tests install their own prompts so nothing modal
// blocks them. Texts may hold "\r" line breaks.
#pragma once

#include <QString>

class QWidget;

namespace korvel {

class TMainPrompts {
  public:
    enum class TAnswer { kYes, kNo, kCancel };

    virtual ~TMainPrompts() = default;
    // Information box with an OK button (through the entry components' notifier).
    virtual void Information(QWidget* parent, const QString& text);
    // Confirmation box with Yes and No, and Cancel when with_cancel.
    virtual TAnswer Confirm(QWidget* parent, const QString& text, bool with_cancel);
    // Open dialog; filter entries separated by ";;". Returns the path (empty when
    // cancelled) and the chosen filter's number from 1.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                 int* filter_index);
    // Save dialog that asks before overwriting. Returns the path or empty.
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& proposed,
                                 const QString& filter);

    static TMainPrompts& Current();
    // nullptr restores the dialogs; the caller keeps ownership.
    static void SetCurrent(TMainPrompts* prompts);
};

}  // namespace korvel
