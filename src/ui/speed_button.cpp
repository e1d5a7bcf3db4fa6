#include "ui/speed_button.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace qbr::ui {

SpeedButton::SpeedButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(16, 16));
}

void SpeedButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // The style draws the frame only; the glyph and caption are placed here, centred together.
    const QString caption = option.text;
    const QIcon glyph = option.icon;
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const QPixmap pixmap =
        glyph.pixmap(iconSize(), devicePixelRatio(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(caption);
    const int total = iconSize().width() + kGlyphSpacing + textWidth;
    int x = (width() - total) / 2;
    const bool down = isDown();
    const int shift = down ? 1 : 0;
    painter.drawPixmap(QPoint(x + shift, (height() - iconSize().height()) / 2 + shift), pixmap);
    x += iconSize().width() + kGlyphSpacing;
    const QRect textRect(x + shift, shift, textWidth + 1, height());
    painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                         caption, QPalette::ButtonText);
}

} // namespace qbr::ui
