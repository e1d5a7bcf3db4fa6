#include "ui/qbr3.h"

#include "ui/display_text.h"
#include "ui/window_font.h"

namespace qbr::ui {

TForm3::TForm3(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form3"));
    setFont(windowFont());
    setFixedSize(166, 66);
    move(313, 240);
    label1_.setObjectName(QStringLiteral("Label1"));
    label1_.setTextFormat(Qt::PlainText);
    label1_.move(8, 8);
    progressBar1_.setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_.setGeometry(8, 40, 150, 16);
    progressBar1_.setRange(0, 100);
    progressBar1_.setValue(0);
    progressBar1_.setTextVisible(false);
}

void Form3Progress::begin(std::string_view text) {
    form_ = std::make_unique<TForm3>(owner_);
    form_->setWindowTitle(displayText(text));
    form_->Label1().setText(displayText(text));
    form_->Label1().adjustSize();
    form_->show();
    form_->repaint();
}

void Form3Progress::setPosition(int percent) {
    if (!form_)
        return;
    form_->ProgressBar1().setValue(percent);
    form_->ProgressBar1().repaint();
}

void Form3Progress::end() {
    if (!form_)
        return;
    form_->hide();
    form_.reset();
}

} // namespace qbr::ui
