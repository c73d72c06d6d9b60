#include "UpdateExchange.h"
#include "AccountFile.h"
#include "EventLog.h"
#include "SettingsModel.h"
#include "support/FakeClock.h"
#include "support/FakeMainForm.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QSignalSpy>
#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString gateway = u"http://127.0.0.1:8780/gateway"_s;
const QString stampInUrl = u"6%20Dec%202026%2019%3A22%3A10"_s;

class UpdateExchangeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        model.ConfigPath = dir.path();
        model.GatewayURL = gateway;
        form.user = u"alice"_s;
        form.pass = u"s3cret"_s;
        form.remote = u"198.51.100.9"_s;
        form.machine = u"192.0.2.7"_s;
        form.last = u"Updating ..."_s;
    }

    void writeAccount(const QStringList& hosts)
    {
        ASSERT_TRUE(AccountFile::write(dir.path(), u"alice"_s, u"s3cret"_s, hosts));
    }

    // What the log gained since the given length.
    QString logSince(qsizetype length) const { return log.text().mid(length); }
    QString line(const QString& message) const { return clock.nowText() + u" - "_s + message + u"\r\n"_s; }

    // Sends one forced request for the given hosts and answers it; returns what the answer added to the log.
    QString answer(const QStringList& hosts, const QString& text,
                   PageRequester::Outcome outcome = PageRequester::Outcome::Answered)
    {
        writeAccount(hosts);
        model.Force = 1;
        exchange.UpdateIP();
        const qsizetype before = log.text().size();
        wb_setip.completeWith(text, outcome);
        return logSince(before);
    }

    TemporaryAppDirectory dir;
    SettingsModel model;
    FakeMainForm form;
    FakeClock clock;
    EventLog log{clock};
    ScriptedPageRequester wb_setip;
    UpdateExchange exchange{wb_setip, model, form, log, clock};
};

TEST_F(UpdateExchangeTest, TwoHostsFromTheRouterAddress)
{
    writeAccount({u"A"_s, u"B"_s});
    model.LastIP = form.remote; // only Force makes this one go
    model.Force = 1;
    wb_setip.setPageText(u"0=A updated"_s);
    exchange.UpdateIP();

    ASSERT_EQ(wb_setip.navigations().size(), 1);
    EXPECT_EQ(wb_setip.lastNavigation(),
              gateway + u"?login=alice&password=s3cret&force=Y&host=A;B&myip=198.51.100.9&unique="_s + stampInUrl);
    EXPECT_EQ(log.text(), line(u"Attempting to update IPs ..."_s) + u"\t>> "_s + gateway +
                              u"?login=alice&password=******&host=A;B&myip=198.51.100.9\r\n"_s);
    EXPECT_EQ(form.response, u"Update Request Sent ..."_s);
    EXPECT_EQ(wb_setip.pageText(), u"Not Updating"_s);
    EXPECT_EQ(model.Force, 0);
    EXPECT_EQ(exchange.hostsInFlight(), QStringList({u"A"_s, u"B"_s}));
}

TEST_F(UpdateExchangeTest, AddressSourceAndAddressPiece)
{
    writeAccount({u"h"_s});
    form.useRouter = false;
    exchange.UpdateIP();
    EXPECT_TRUE(wb_setip.lastNavigation().contains(u"&host=h&myip=192.0.2.7&unique="_s))
        << wb_setip.lastNavigation().toStdString();

    // No dotted quad yet: the gateway takes the caller's own address.
    form.useRouter = true;
    form.remote = u"Checking ..."_s;
    const qsizetype before = log.text().size();
    exchange.UpdateIP();
    EXPECT_EQ(wb_setip.lastNavigation(),
              gateway + u"?login=alice&password=s3cret&force=Y&host=h&unique="_s + stampInUrl);
    EXPECT_TRUE(logSince(before).endsWith(u"&password=******&host=h\r\n"_s));
}

TEST_F(UpdateExchangeTest, UnchangedAddressSendsNothing)
{
    writeAccount({u"h"_s});
    model.LastIP = form.remote;
    exchange.UpdateIP();
    EXPECT_TRUE(wb_setip.navigations().isEmpty());
    EXPECT_EQ(form.response, u"Not updated. IP had not changed."_s);
    EXPECT_EQ(form.last, clock.nowText() + u"   -   No changes to make."_s);
    EXPECT_EQ(log.text(), line(u"Not updated. IP had not changed."_s));

    // With nothing to send the hosts are never needed, so the wizard is not called for.
    writeAccount({});
    QSignalSpy wizard(&exchange, &UpdateExchange::wizardNeeded);
    exchange.UpdateIP();
    EXPECT_EQ(wizard.count(), 0);
    EXPECT_TRUE(wb_setip.navigations().isEmpty());
}

TEST_F(UpdateExchangeTest, ResultLines)
{
    const QStringList two{u"A"_s, u"B"_s};
    EXPECT_TRUE(
        answer(two, u"0=A updated\r\n1=B failed"_s).startsWith(line(u"Some of the selected domains were updated."_s)));
    EXPECT_TRUE(answer(two, u"0=A updated\r\n0=B updated"_s).startsWith(line(u"All selected domains were updated."_s)));
    EXPECT_TRUE(
        answer(two, u"1=A failed\r\n1=B failed"_s).startsWith(line(u"None of the selected domains were updated."_s)));

    const QStringList one{u"www.example.org"_s};
    EXPECT_TRUE(answer(one, u"0=updated"_s).startsWith(line(u"Updated: www.example.org"_s)));
    EXPECT_TRUE(answer(one, u"10=Hostname unknown"_s).startsWith(line(u"Updated: www.example.org"_s)));
    EXPECT_TRUE(answer(one, u"1=not updated"_s).startsWith(line(u"Not Updated: www.example.org"_s)));
}

TEST_F(UpdateExchangeTest, HostCountComesFromTheRequestNotTheUrl)
{
    form.user = u"al;ice"_s;
    form.pass = u"a;b"_s;
    writeAccount({u"h"_s});
    exchange.UpdateIP();
    EXPECT_TRUE(wb_setip.lastNavigation().contains(u"?login=al%3Bice&password=a%3Bb&force=Y&host=h&"_s));
    // The completed document's URL may differ from the one requested (a redirect, an error page).
    qsizetype before = log.text().size();
    wb_setip.completeAt(u"http://127.0.0.1:8780/gateway?login=al;ice&password=a;b&host=h"_s, u"0=h updated"_s);
    EXPECT_TRUE(logSince(before).startsWith(line(u"Updated: h"_s))) << logSince(before).toStdString();

    writeAccount({u"A"_s, u"B"_s});
    model.Force = 1;
    exchange.UpdateIP();
    before = log.text().size();
    wb_setip.completeAt(u"http://127.0.0.1:8780/updated"_s, u"0=A updated\r\n0=B updated"_s);
    EXPECT_TRUE(logSince(before).startsWith(line(u"All selected domains were updated."_s)));
}

TEST_F(UpdateExchangeTest, StatusLineIsRemovedBeforeShowing)
{
    const QString added = answer({u"h"_s}, u"HTTP/1.1 200 OK\r\n0=h updated"_s);
    EXPECT_EQ(form.response, u"0=h updated\r\n"_s);
    EXPECT_EQ(added, line(u"Updated: h"_s) + u"\t>> 0=h updated\r\n"_s + line(u"Completed updating."_s));

    // Trailing and without a line break of its own, it takes the added line end with it.
    const QString trailing = answer({u"h"_s}, u"1=h failed HTTP/1.1 200 OK"_s);
    EXPECT_EQ(form.response, u"1=h failed "_s);
    EXPECT_EQ(trailing, line(u"Not Updated: h"_s) + u"\t>> 1=h failed "_s + line(u"Completed updating."_s));
}

TEST_F(UpdateExchangeTest, AnswerRecordsTheAddressOfTheMoment)
{
    writeAccount({u"h"_s});
    exchange.UpdateIP();
    clock.advanceSeconds(3);
    form.remote = u"203.0.113.5"_s;
    // A gateway that updated nothing still answered, so the address counts as sent.
    wb_setip.completeWith(u"1=h not updated"_s);
    EXPECT_EQ(form.lastIP, u"203.0.113.5"_s);
    EXPECT_EQ(model.LastIP, u"203.0.113.5"_s);
    EXPECT_EQ(form.last, clock.nowText());
    EXPECT_TRUE(log.text().endsWith(line(u"Completed updating."_s)));

    wb_setip.clearNavigations();
    exchange.UpdateIP();
    EXPECT_TRUE(wb_setip.navigations().isEmpty());
}

TEST_F(UpdateExchangeTest, UpdateNowBeforeAnyUpdateRecordsNothing)
{
    form.last = u"Not Updated"_s;
    const QString added = answer({u"h"_s}, u"0=h updated"_s);
    EXPECT_EQ(added, line(u"Updated: h"_s) + u"\t>> 0=h updated\r\n"_s);
    EXPECT_EQ(form.response, u"0=h updated\r\n"_s);
    EXPECT_EQ(form.lastIP, u"Not Updated"_s);
    EXPECT_EQ(form.last, u"Not Updated"_s);
    EXPECT_TRUE(model.LastIP.isEmpty());
}

TEST_F(UpdateExchangeTest, FailedRequestIsShownButNotRecorded)
{
    const QString errorPage = u"The service could not be reached."_s;
    const QString added = answer({u"h"_s}, errorPage, PageRequester::Outcome::Failed);
    EXPECT_EQ(added, line(u"Not Updated: h"_s) + u"\t>> "_s + errorPage + u"\r\n"_s);
    EXPECT_EQ(form.response, errorPage + u"\r\n"_s);
    EXPECT_EQ(form.lastIP, u"Not Updated"_s);
    EXPECT_EQ(form.last, u"Updating ..."_s);
    EXPECT_TRUE(model.LastIP.isEmpty());

    // The next scheduled update, unforced, sends again.
    wb_setip.clearNavigations();
    exchange.UpdateIP();
    EXPECT_EQ(wb_setip.navigations().size(), 1);

    const qsizetype before = log.text().size();
    wb_setip.completeBlank();
    EXPECT_TRUE(logSince(before).isEmpty());
}

TEST_F(UpdateExchangeTest, UnusableAccountFileCallsForTheWizard)
{
    QSignalSpy wizard(&exchange, &UpdateExchange::wizardNeeded);
    model.Force = 1;
    exchange.UpdateIP();
    EXPECT_EQ(wizard.count(), 1);
    EXPECT_EQ(form.response, u"Updating ..."_s);
    EXPECT_TRUE(log.text().isEmpty());

    writeAccount({});
    exchange.UpdateIP();
    EXPECT_EQ(wizard.count(), 2);
    EXPECT_EQ(form.response, u"Update Request Sent ..."_s);
    EXPECT_EQ(log.text(), line(u"Attempting to update IPs ..."_s));
    EXPECT_TRUE(wb_setip.navigations().isEmpty());
    EXPECT_EQ(model.Force, 1);
}

TEST_F(UpdateExchangeTest, EveryValueArrivesAsTyped)
{
    form.user = u"a&b c"_s;
    form.pass = u"p&ss=w#rd+%\u20ac\U0001F600"_s;
    form.remote = u"IP 198.51.100.9"_s;
    writeAccount({u"x+y.example.org"_s, u"\u00fc.example.org"_s});
    exchange.UpdateIP();
    const QString url = wb_setip.lastNavigation();
    const QUrlQuery query(QUrl(url).query());
    EXPECT_EQ(query.queryItemValue(u"login"_s, QUrl::FullyDecoded), form.user);
    EXPECT_EQ(query.queryItemValue(u"password"_s, QUrl::FullyDecoded), form.pass);
    EXPECT_EQ(query.queryItemValue(u"host"_s, QUrl::FullyDecoded), u"x+y.example.org;\u00fc.example.org"_s);
    EXPECT_EQ(query.queryItemValue(u"myip"_s, QUrl::FullyDecoded), form.remote);
    EXPECT_TRUE(url.contains(u"&password=p%26ss%3Dw%23rd%2B%25%E2%82%AC%F0%9F%98%80&"_s)) << url.toStdString();
    EXPECT_TRUE(url.contains(u"&host=x%2By.example.org;%C3%BC.example.org&myip=IP%20198.51.100.9&"_s));
    // One star per character typed, the one outside the basic plane included.
    EXPECT_TRUE(log.text().contains(u"&password="_s + QString(13, u'*') + u"&host="_s));
}

} // namespace
