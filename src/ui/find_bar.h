#pragma once

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace qbr::ui {

// The small find bar that the main window shows under its tool bar on Ctrl+F: a text field,
// a romaji switch (where C/Migemo is built in), the number of matches, next and close
// buttons. It only reports what the user does; the window filters the tree and moves the
// selection. Keys in the text field: Enter and F3 the next match, Shift+Enter and Shift+F3 the
// one before, Escape closes the bar.
class FindBar final : public QWidget {
    Q_OBJECT

  public:
    explicit FindBar(QWidget* parent = nullptr);

    // Shows the bar, puts the focus in the text field and selects its text.
    void openBar();
    // Hides the bar; the text is kept for the next Ctrl+F.
    void closeBar();

    QString text() const { return edit_.text(); }
    bool romaji() const { return romaji_.isChecked(); }
    // "N 件", or "見つかりません" in red for none; nothing for an empty text.
    void setMatchCount(int count);

    QLineEdit& edit() noexcept { return edit_; }

  Q_SIGNALS:
    void queryChanged(const QString& text);
    void romajiToggled(bool on);
    void nextRequested();
    void previousRequested();
    void closed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QHBoxLayout layout_{this};
    QLabel caption_;
    QLineEdit edit_;
    QCheckBox romaji_;
    QLabel count_;
    QToolButton next_;
    QToolButton close_;
};

} // namespace qbr::ui
