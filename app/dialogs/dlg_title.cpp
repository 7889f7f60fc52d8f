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
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addStretch(1);
    WatchEdits(edit_);
    resize(560, 100);
    Activate();
}

void TdlgTitle::LoadValues() {
    edit_->setText(SingleLineTitle(Project().Title));
    loaded_ = edit_->text();
}

void TdlgTitle::StoreValues() {
    // A longer title read from a file is not cut unless the user edits it.
    const QString title = SingleLineTitle(edit_->text());
    if (title == loaded_ || title == Project().Title) return;
    loaded_ = title;
    Project().Title = title;
    Project().SetModified(true);
}

}  // namespace korvel
