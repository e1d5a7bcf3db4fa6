#include "desktop/associated_program.h"
#include "desktop/program_icons.h"

#include <QFile>
#include <QIcon>
#include <QPainter>

namespace qbr::platform {

namespace {

constexpr int kIconSize = 32;

QPixmap iconPixmap(const QIcon& icon) {
    return icon.isNull() ? QPixmap() : icon.pixmap(kIconSize, kIconSize);
}

// A plain program window: a title bar over a white client area, for desktops whose theme
// has no generic program icon.
QPixmap builtInProgramIcon() {
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.setBrush(Qt::white);
    painter.drawRect(3, 5, 25, 21);
    painter.fillRect(4, 6, 24, 5, QColor(0x00, 0x00, 0x80));
    painter.fillRect(6, 14, 12, 2, QColor(0x80, 0x80, 0x80));
    painter.fillRect(6, 18, 16, 2, QColor(0x80, 0x80, 0x80));
    return picture;
}

} // namespace

QPixmap genericProgramIcon() {
    QPixmap picture = iconPixmap(QIcon::fromTheme(QStringLiteral("application-x-executable")));
    return picture.isNull() ? builtInProgramIcon() : picture;
}

QPixmap DesktopProgramIcons::programIcon(const std::string& path) {
    const AssociatedProgram program = associatedProgram(path);
    for (const std::string& name : program.iconNames) {
        const QString themeName = QString::fromUtf8(name);
        if (QIcon::hasThemeIcon(themeName))
            return iconPixmap(QIcon::fromTheme(themeName));
    }
    if (!program.iconFile.empty()) {
        const QPixmap picture = iconPixmap(QIcon(QFile::decodeName(program.iconFile.c_str())));
        if (!picture.isNull())
            return picture;
    }
    return genericProgramIcon();
}

} // namespace qbr::platform
