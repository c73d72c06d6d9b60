#include "support/CannedHttpServer.h"
#include "ClosedWizard.h"
#include "DomainHostLists.h"
#include "EventLog.h"
#include "EventLoopWait.h"
#include "HttpPageRequester.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "UpdateExchange.h"
#include "UpdateFile.h"
#include "VersionCheck.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeHostChecklist.h"
#include "support/FakeMainForm.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// An answer in UTF-16 whose text holds half a surrogate pair, which no text file can hold.
QByteArray utf16Answer(const QString& text)
{
    QByteArray body;
    for (const QChar c : text) {
        body += static_cast<char>(c.unicode() & 0xff);
        body += static_cast<char>(c.unicode() >> 8);
    }
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-16le\r\nConnection: close\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

class UnencodableAnswer : public ::testing::Test
{
protected:
    UnencodableAnswer()
    {
        network.setProxy(QNetworkProxy::NoProxy);
        requester.setTimeout(std::chrono::seconds(10));
        model.ConfigPath = dir.path();
        form.user = u"demo"_s;
        dir.writeBytes(u"Account.ini"_s, "demo\r\ndemo123\r\nwww.example.com\r\n");
    }

    TemporaryAppDirectory dir;
    FakeClock clock;
    FakeDesktop desktop;
    QNetworkAccessManager network;
    HttpPageRequester requester{network};
    EventLog log{clock};
    SettingsModel model;
    FakeMainForm form;
};

} // namespace

// Half a surrogate pair in a domain list once made the temporary file unwritable: the program
// ended saying it lacked permission to its own directory. It now shows as the replacement
// character, as a browser shows it, and the listing goes on.
TEST_F(UnencodableAnswer, AListWithHalfASurrogatePairIsListed)
{
    CannedHttpServer server(utf16Answer(u"0=a"_s + QChar(0xD800) + u"b.test"_s));
    ASSERT_TRUE(server.listen());
    const ServiceUrls urls(server.url(QString()).mid(7));
    ScriptedPageRequester wbHosts;
    ScriptedPageRequester wbSetip;
    FakeHostChecklist checklist;
    ClosedWizard wizard;
    UpdateExchange updates(wbSetip, model, form, log, clock);
    DomainHostLists lists(requester, wbHosts, model, form, checklist, wizard, updates, log, desktop, clock, urls);

    lists.GetDomains();
    ASSERT_TRUE(EventLoopWait::until([&] { return wbHosts.hasPending() || desktop.hasEnded(); }, 10000));
    EXPECT_TRUE(desktop.messages().isEmpty()) << desktop.lastMessage().text.toStdString();
    const QString domain = u"a"_s + QChar(QChar::ReplacementCharacter) + u"b.test"_s;
    EXPECT_EQ(checklist.rows(), QStringList{u"domain:"_s + domain});
    EXPECT_EQ(wbHosts.lastNavigation(), urls.hosts(u"demo"_s, domain, clock.nowText()));
}

// The same in the version page once ended the program at every start with "Failed to write the
// update configuration file".
TEST_F(UnencodableAnswer, AVersionPageWithHalfASurrogatePairIsRecorded)
{
    CannedHttpServer server(utf16Answer(u"url=http://gw.example/"_s + QChar(0xDC00) + u"\r\nversion=1.3\r\n"_s));
    ASSERT_TRUE(server.listen());
    const ServiceUrls urls(server.url(QString()).mid(7));
    VersionCheck check(requester, model, log, desktop, clock, urls);
    int reloads = 0;
    QObject::connect(&check, &VersionCheck::reloadRequested, &check, [&reloads] { ++reloads; });

    check.requestVersionPage();
    ASSERT_TRUE(EventLoopWait::until([&] { return reloads > 0 || desktop.hasEnded(); }, 10000));
    EXPECT_TRUE(desktop.messages().isEmpty()) << desktop.lastMessage().text.toStdString();
    const auto update = UpdateFile::read(dir.path());
    ASSERT_TRUE(update);
    EXPECT_EQ(update->gatewayUrl, u"http://gw.example/"_s + QChar(QChar::ReplacementCharacter));
    EXPECT_EQ(update->lastCheckDate, clock.todayText());
}
