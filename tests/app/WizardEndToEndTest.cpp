#include "MainController.h"
#include "MainWindow.h"
#include "QuorvexApp.h"
#include "SetupWizard.h"
#include "support/InProcessProgram.h"
#include "support/QtPrinters.h"
#include "support/SimulatorProcess.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// A first start as a user meets it: no files, the wizard driven by clicks and keys against the
// simulator over real HTTP, then the program running from the files the wizard wrote, up to the
// first forced update of the host ticked in the wizard.
TEST(WizardEndToEnd, FirstStartThroughTheWizardToTheFirstForcedUpdate)
{
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    ASSERT_TRUE(sim.control(u"/control/public-ip?value=198.51.100.61"_s));
    InProcessProgram p(sim.hostAndPort());
    p.load();
    ASSERT_TRUE(p.waitFor([&] { return p.app().wizard() && p.app().wizard()->isVisible(); }));

    SetupWizard& wizard = *p.app().wizard();
    auto* next = wizard.findChild<QPushButton*>(u"cmdNext"_s);
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::keyClicks(wizard.findChild<QLineEdit*>(u"txtUser"_s), u"demo"_s);
    QTest::keyClicks(wizard.findChild<QLineEdit*>(u"txtPass"_s), u"demo123"_s);
    QTest::mouseClick(next, Qt::LeftButton);
    ASSERT_TRUE(p.waitFor([&] { return wizard.Step() == 2 && next->isEnabled(); })) << "the credentials were checked";
    QCheckBox* www = nullptr;
    for (QCheckBox* box : wizard.findChildren<QCheckBox*>()) {
        www = box->text() == u"www.example.com"_s && box->isVisible() ? box : www;
    }
    ASSERT_NE(www, nullptr);
    QTest::mouseClick(www, Qt::LeftButton, {}, QPoint(6, www->height() / 2));
    QTest::mouseClick(next, Qt::LeftButton); // to the interval
    QTest::mouseClick(next, Qt::LeftButton); // 0 hours 15 minutes, to the address source
    ASSERT_TRUE(p.waitFor([&] { return wizard.findChild<QLabel*>(u"lblremote"_s)->text() == u"198.51.100.61"_s; }));
    QTest::mouseClick(next, Qt::LeftButton); // to the keep-alive
    QTest::mouseClick(next, Qt::LeftButton); // ping every 5 minutes, to the finish page
    QTest::mouseClick(next, Qt::LeftButton); // Finish

    ASSERT_TRUE(p.waitFor([&] { return p.app().main() && p.main().log().text().contains(u"Completed updating."_s); }));
    const QStringList gateway = sim.requestLog().filter(u"GET /dyn/update?"_s);
    ASSERT_FALSE(gateway.isEmpty()); // a second start-up check may follow the version page's reload
    EXPECT_TRUE(gateway.constFirst().startsWith(
        u"GET /dyn/update?login=demo&password=demo123&force=Y&host=www.example.com&myip=198.51.100.61&unique="_s));
    EXPECT_TRUE(p.main().window().isVisible());
    EXPECT_EQ(p.app().wizard(), nullptr);
    EXPECT_TRUE(p.desktop.messages().isEmpty()) << p.desktop.lastMessage().text.toStdString();
}
