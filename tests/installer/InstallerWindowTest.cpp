#include "InstallerWindow.h"
#include "FakeFailureBox.h"
#include "FakeProgramStarter.h"
#include "MessageFailureBox.h"
#include "ServiceInstaller.h"
#include "TestPrinters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// The outcomes of the window's runs, in order.
static void recordFinished(InstallerWindow& window, QList<bool>& outcomes)
{
    QObject::connect(&window, &InstallerWindow::finished, &window, [&outcomes](bool ok) { outcomes.append(ok); });
}

class KestrinInstallerWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.isValid());
        // Refused at the first step, so each run ends at once with a recorded box.
        m_starter.answers = {false, false, false};
    }

    QTemporaryDir m_temp;
    FakeProgramStarter m_starter;
    FakeFailureBox m_box;
};

TEST_F(KestrinInstallerWindow, ShowsSmallCaptionlessStatusWindow)
{
    ServiceInstaller installer(m_temp.path(), m_starter, m_box);
    InstallerWindow window(installer);

    EXPECT_TRUE(window.windowTitle().isEmpty());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowTitleHint));
    // 3195 x 690 twips at 15 twips a pixel, and fixed.
    EXPECT_EQ(window.minimumSize(), QSize(213, 46));
    EXPECT_EQ(window.maximumSize(), QSize(213, 46));

    const auto* label = window.findChild<QLabel*>(u"lblInstalling"_s);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), u"Installing Service ..."_s);
    EXPECT_TRUE(window.rect().contains(label->geometry())) << "the text must fit the window";
}

TEST_F(KestrinInstallerWindow, RunStartsOnFirstActivationOnly)
{
    ServiceInstaller installer(m_temp.path(), m_starter, m_box);
    InstallerWindow window(installer);
    QList<bool> finished;
    recordFinished(window, finished);

    QCoreApplication::processEvents();
    EXPECT_TRUE(m_starter.starts.isEmpty()) << "nothing runs before the window is active";

    window.show();
    window.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; })) << "the run never started";
    EXPECT_FALSE(finished.at(0));
    EXPECT_EQ(m_starter.starts.size(), 1);
    EXPECT_EQ(m_box.shown.size(), 1);

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return other.isActiveWindow(); }));
    window.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return window.isActiveWindow(); }));
    QCoreApplication::processEvents();

    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(m_starter.starts.size(), 1);
}

TEST(KestrinMessageFailureBox, ShowsModalStopBoxWithOkOnly)
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool found = false;
    QTimer hunt;
    hunt.setInterval(20);
    QObject::connect(&hunt, &QTimer::timeout, &hunt, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        found = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    hunt.start();
    QTimer::singleShot(10000, &hunt, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });

    MessageFailureBox failureBox;
    failureBox.showStop(u"Service Installation Failed"_s, u"First line.\nSecond line."_s);
    hunt.stop();

    ASSERT_TRUE(found) << "no modal message box was shown";
    EXPECT_EQ(title, u"Service Installation Failed"_s);
    EXPECT_EQ(text, u"First line.\nSecond line."_s);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}
