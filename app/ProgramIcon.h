#pragma once

#include <QIcon>
#include <QString>

// The program's own icon: one scalable drawing, compiled in, for the windows and the
// notification area alike; the desktop entry installs the same file.
class ProgramIcon
{
public:
    static QString resourcePath(); // ":/icons/quorvex.svg"

    // The drawing, or a plain square where it cannot be rendered (Qt's SVG plugin missing):
    // the notification-area icon must never be blank, or a window hidden to it is lost.
    static QIcon icon();
};
