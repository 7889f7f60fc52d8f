#include "dialogs/dlg_title.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QValidator>

#include "dialogs/title_text.h"

namespace korvel {
namespace {

// Turns line breaks of a paste (or any other insertion) into blanks before the
// edit takes the text, so that the title stays the single TITLE line.
class TSingleLineValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        if (HasLineBreak(input)) {
            const qsizetype before = input.size();
            input = SingleLineTitle(input);
            pos = std::min<int>(pos - static_cast<int>(before - input.size()),
                                static_cast<int>(input.size()));
            pos = std::max(pos, 0);
        }
        return Acceptable;
    }
    void fixup(QString& input) const override { input = SingleLineTitle(input); }
};

}  // namespace

TdlgTitle::TdlgTitle(TProgramData& project, QWidget* parent)
    : TDataDialog(project, QStringLiteral("Project Title"), parent) {
    setObjectName(QStringLiteral("dlgTitle"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Enter text line for project description:"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("TitleEdit"));
    edit_->setMaxLength(kTitleMaxLength);
    // Wide enough for a full title of average characters.
    edit_->setMinimumWidth(edit_->fontMetrics().averageCharWidth() * (kTitleMaxLength - 20));
    edit_->setValidator(new TSingleLineValidator(edit_));
    label->setBuddy(edit_);
    stage_note_ = new QLabel(
        QStringLiteral("The project title is entered on stage 1. On a later stage this line "
                       "marks the stage in the data file and cannot change."),
        this);
    stage_note_->setObjectName(QStringLiteral("StageNote"));
    stage_note_->setWordWrap(true);
    stage_note_->hide();
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(stage_note_);
    layout->addStretch(1);
    WatchEdits(edit_);
    resize(560, 100);
    Activate();
}

void TdlgTitle::LoadValues() {
    const bool later_stage = Project().StageCount > 1 && Project().CurrentStage > 1;
    edit_->setReadOnly(later_stage);
    stage_note_->setVisible(later_stage);
    edit_->setText(SingleLineTitle(Project().Title));
    loaded_ = edit_->text();
}

void TdlgTitle::StoreValues() {
    if (edit_->isReadOnly()) return;
    // A longer title read from a file is not cut unless the user edits it.
    const QString title = SingleLineTitle(edit_->text());
    if (title == loaded_ || title == Project().Title) return;
    loaded_ = title;
    Project().Title = title;
    Project().SetModified(true);
}

}  // namespace korvel
