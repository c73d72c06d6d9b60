#include "ProgramIcon.h"

#include <QColor>
#include <QPixmap>

QString ProgramIcon::resourcePath()
{
    return QStringLiteral(":/icons/quorvex.svg");
}

QIcon ProgramIcon::icon()
{
    QIcon drawing(resourcePath());
    if (!drawing.pixmap(QSize(32, 32)).isNull()) {
        return drawing;
    }
    QPixmap square(32, 32);
    square.fill(QColor(0x1f, 0x5f, 0xa8));
    return QIcon(square);
}
