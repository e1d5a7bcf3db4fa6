#include "ui/qbr2.h"

#include "ui/display_text.h"
#include "ui/ui_texts.h"
#include "ui/window_font.h"

#include <QGuiApplication>
#include <QScreen>

namespace qbr::ui {

TForm2::TForm2(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(displayText(text::kScanCaption));
    setFont(windowFont());
    setFixedSize(151, 56);
    label1_.setObjectName(QStringLiteral("Label1"));
    label2_.setObjectName(QStringLiteral("Label2"));
    label1_.move(16, 8);
    label2_.move(16, 32);
    for (QLabel* label : {&label1_, &label2_}) {
        label->setTextFormat(Qt::PlainText);
        label->adjustSize();
    }
}

void TForm2::setLabel(QLabel& label, std::string_view text) {
    label.setText(displayText(text));
    label.adjustSize();
    repaint();
}

void TForm2::showLogName(std::string_view name) {
    setLabel(label1_, name);
}

void TForm2::showForumName(std::string_view name) {
    setLabel(label2_, name);
}

void TForm2::showCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    repaint();
}

} // namespace qbr::ui
