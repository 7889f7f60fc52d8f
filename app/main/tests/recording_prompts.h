// The main window's prompts answered in code for the window tests: messages,
// questions and save-dialog titles are recorded, a question gets Answer, and
// the file dialogs return OpenPath and SavePath (empty: cancelled).
#pragma once

#include <QStringList>

#include "main/main_prompts.h"

namespace korvel {

class TRecordingPrompts : public TMainPrompts {
  public:
    void Information(QWidget*, const QString& text) override { Messages << text; }
    TAnswer Confirm(QWidget*, const QString& text, bool) override {
        Questions << text;
        return Answer;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, int* index) override {
        if (index) *index = 1;
        return OpenPath;
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& proposed,
                         const QString&) override {
        SaveTitles << title;
        Proposed = proposed;
        return SavePath;
    }
    QStringList Messages, Questions, SaveTitles;
    TAnswer Answer = TAnswer::kNo;
    QString OpenPath, SavePath, Proposed;
};

}  // namespace korvel
