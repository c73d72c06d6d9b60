#include "ProgramIcon.h"
#include "TrayIcon.h"

#include "support/FakeDesktop.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QImage rendered(const QIcon& icon, int side)
{
    return icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The drawing is a round globe with a badge at its lower right: its upper right corner is
// transparent and the globe's upper left quarter blue. The stand-in square is neither, and stays
// 32 pixels at most, so a missing SVG plugin or resource fails here.
TEST(ProgramIcon, TheCompiledInDrawingRendersAtEverySize)
{
    ASSERT_TRUE(QFile::exists(ProgramIcon::resourcePath()));
    for (const int side : {16, 22, 32, 48, 256}) {
        const QImage image = rendered(ProgramIcon::icon(), side);
        ASSERT_EQ(image.size(), QSize(side, side)) << side;
        EXPECT_EQ(qAlpha(image.pixel(side - 1, 0)), 0) << side;
        const QColor globe = image.pixelColor(side * 13 / 64, side * 22 / 64);
        EXPECT_EQ(globe.alpha(), 255) << side;
        EXPECT_GT(globe.blue(), globe.red() + 60) << side;
    }
}

TEST(ProgramIcon, TheNotificationAreaShowsTheSameDrawing)
{
    FakeDesktop desktop;
    TrayIcon tray(desktop, u"http://127.0.0.1:8780/"_s);
    EXPECT_EQ(rendered(tray.icon().icon(), 22), rendered(ProgramIcon::icon(), 22));
}

} // namespace
