#include "CredentialCheck.h"
#include "CheckWindow.h"
#include "MainController.h"
#include "MainWindow.h"
#include "SetupWizardSide.h"
#include "support/InProcessProgram.h"
#include "support/QtPrinters.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class FakeWizardSide : public SetupWizardSide
{
public:
    bool isOpen() const override { return open; }
    QString userText() const override { return u"wizard user"_s; }
    QString passwordText() const override { return u"p&ss"_s; }
    void credentialsAccepted() override { calls.append(u"wizard accepted"_s); }
    void credentialsNotAccepted() override { calls.append(u"wizard refused"_s); }

    bool open = false;
    QStringList calls;
};

} // namespace

// The check at start-up (the main window's name and password) and from the wizard (the wizard's),
// for each way its page can come back: answered on the validation page (a server's error page
// among them), on another page, or failed; or Cancel pressed, after which a late answer must change nothing. What a
// user meets afterwards is summed up in a line.
TEST(CredentialCheck, WhatEachAnswerLeadsTo)
{
    using enum PageRequester::Outcome;
    const struct
    {
        bool fromWizard;
        QString at; // the page answered: its "own" (validation), an "other", or "cancel"
        QString text;
        PageRequester::Outcome outcome;
        QString happened;
    } rows[] = {
        {false, u"own"_s, u"0=OK"_s, Answered, u"closeSplash, listed for demo, started, shown"_s},
        {false, u"own"_s, u"1=Invalid"_s, Answered, u"closeSplash, shown, failure reported"_s},
        {false, u"own"_s, u"The page cannot be displayed\r\n"_s, Failed, u"closeSplash, shown, failure reported"_s},
        {false, u"own"_s, u"Internal Server Error"_s, Answered, u"closeSplash, shown, failure reported"_s},
        {false, u"other"_s, u"10=Hostname"_s, Answered, u"closeSplash, listed for demo, started, shown"_s},
        {false, u"other"_s, u"0=OK"_s, Answered,
         u"ended: Could not determine the status, please ensure that you are online."_s},
        {false, u"cancel"_s, u"0=OK"_s, Answered,
         u"ended: You must verify that your credentials are correct before proceeding"_s},
        {true, u"own"_s, u"0=OK"_s, Answered, u"wizard accepted, listed for wizard%20user"_s},
        {true, u"own"_s, u"1=Invalid"_s, Answered, u"wizard refused, closeSplash, shown, failure reported"_s},
        {true, u"cancel"_s, u"0=OK"_s, Answered, u"wizard refused"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.happened.toStdString());
        InProcessProgram p;
        p.seed();
        MainWindow& w = p.load().window();
        p.calls.clear();
        ScriptedPageRequester wb;
        FakeWizardSide wizard;
        wizard.open = row.fromWizard;
        const ServiceUrls urls(p.host());
        CredentialCheck check({wb, p.main(), p, wizard, p.desktop, p.clock, urls}, row.fromWizard);
        if (row.at == u"cancel"_s) {
            check.window().findChild<QPushButton*>(u"cmdCancel"_s)->click();
        }
        check.tmr_Timer();
        const QString credentials =
            row.fromWizard ? u"login=wizard%20user&password=p%26ss"_s : u"login=demo&password=demo123"_s;
        EXPECT_EQ(wb.lastNavigation(), u"http://127.0.0.1:8780/ipupdate/account_validate.jsp?"_s + credentials);
        wb.completeAt(row.at == u"other"_s ? u"http://127.0.0.1:8780/other"_s : wb.lastNavigation(), row.text,
                      row.outcome);

        QStringList happened = wizard.calls + p.calls;
        const QString listing = p.requester(u"wb_domains"_s).lastNavigation();
        if (listing != u"about:blank"_s) {
            happened << u"listed for "_s + listing.section(u"login="_s, 1).section(u'&', 0, 0);
        }
        if (p.main().model().StartUp == 1) {
            happened << u"started"_s;
        }
        if (w.isVisible()) {
            happened << u"shown"_s;
        }
        const QString reason = u"Fail to validate your login. Either network or website is down"_s;
        if (w.responseText() == reason && p.logEntries().constLast() == u" - "_s + reason &&
            w.lastText() == p.clock.NowText() + u"   -   Login validation failed"_s) {
            happened << u"failure reported"_s;
        }
        if (p.desktop.hasEnded()) {
            happened << u"ended: "_s + p.desktop.lastMessage().text.section(u"\r\n"_s, 0, 0);
        }
        EXPECT_EQ(happened.join(u", "_s), row.happened);
    }
}
