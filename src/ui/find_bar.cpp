#include "ui/find_bar.h"

#include "search/romaji.h"

#include <QKeyEvent>

namespace qbr::ui {

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
    layout_.setContentsMargins(4, 2, 4, 2);
    caption_.setText(QStringLiteral(u"検索:"));
    edit_.setClearButtonEnabled(true);
    edit_.setPlaceholderText(QStringLiteral(u"タイトル、フォーラム、説明"));
    romaji_.setText(QStringLiteral(u"ローマ字"));
    romaji_.setVisible(search::Romaji::available());
    next_.setText(QStringLiteral(u"次へ"));
    next_.setToolTip(QStringLiteral(u"次の一致 (Enter, F3)"));
    next_.setAutoRaise(true);
    close_.setText(QStringLiteral(u"×"));
    close_.setToolTip(QStringLiteral(u"閉じる (Esc)"));
    close_.setAutoRaise(true);
    for (QWidget* child :
         std::initializer_list<QWidget*>{&caption_, &edit_, &romaji_, &count_, &next_, &close_})
        layout_.addWidget(child);
    layout_.setStretchFactor(&edit_, 1);

    edit_.installEventFilter(this);
    connect(&edit_, &QLineEdit::textChanged, this, &FindBar::queryChanged);
    connect(&romaji_, &QCheckBox::toggled, this, &FindBar::romajiToggled);
    connect(&next_, &QToolButton::clicked, this, &FindBar::nextRequested);
    connect(&close_, &QToolButton::clicked, this, &FindBar::closeBar);
    hide();
}

void FindBar::openBar() {
    show();
    edit_.setFocus(Qt::ShortcutFocusReason);
    edit_.selectAll();
}

void FindBar::closeBar() {
    if (isHidden())
        return;
    hide();
    Q_EMIT closed();
}

void FindBar::setMatchCount(int count) {
    if (edit_.text().trimmed().isEmpty()) {
        count_.clear();
    } else if (count == 0) {
        count_.setText(QStringLiteral(u"見つかりません"));
        count_.setStyleSheet(QStringLiteral("color: #c00000"));
    } else {
        count_.setText(QStringLiteral(u"%1 件").arg(count));
        count_.setStyleSheet({});
    }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        switch (key->key()) {
        case Qt::Key_Escape:
            closeBar();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F3:
            shift ? Q_EMIT previousRequested() : Q_EMIT nextRequested();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qbr::ui
