// TDlgOptions ("Control Options"): the text editor command. The edit shows the
// current command whenever the window is activated; what it holds becomes the
// command when the window is deactivated or closed.
#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;

namespace korvel {

class TDlgOptions : public QWidget {
    Q_OBJECT

  public:
    TDlgOptions(std::function<QString()> get_editor, std::function<void(const QString&)> set_editor,
                QWidget* parent = nullptr);
    QLineEdit* EditorEdit() const { return edit_; }
    // Copies the command into the edit (on activation) and back (on deactivation).
    void ShowEditor();
    void StoreEditor();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BrowseClick();

    std::function<QString()> get_editor_;
    std::function<void(const QString&)> set_editor_;
    QLineEdit* edit_;
};

}  // namespace korvel
