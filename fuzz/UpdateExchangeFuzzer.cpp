#include "AccountFile.h"
#include "EventLog.h"
#include "FuzzCheck.h"
#include "SettingsModel.h"
#include "UpdateExchange.h"
#include "support/FakeClock.h"
#include "support/FakeMainForm.h"
#include "support/ScriptedPageRequester.h"

#include <QUrl>

#include <cstddef>
#include <cstdint>

// The update exchange with any account name, password and hosts, and any answer. The request
// carries exactly its own parameters, each value arriving as typed, whatever characters it
// holds; the log shows the password only as asterisks; the answer gets exactly one of the five
// result lines, and only an answer (never a failed request) records the address.

namespace {

const QString gateway = QStringLiteral("http://127.0.0.1:8780/dyn/update");

QString decoded(const QString& piece)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(piece.toLatin1()));
}

// Splits the query as a server does and checks every value against what was sent.
void checkRequest(const QString& url, const QString& user, const QString& password, const QStringList& hosts,
                  const QString& address)
{
    FuzzCheck::require(url.startsWith(gateway + u'?'), "the request goes to the gateway", url);
    const QStringList pieces = url.mid(gateway.size() + 1).split(u'&');
    QStringList keys;
    QStringList values;
    for (const QString& piece : pieces) {
        const qsizetype equals = piece.indexOf(u'=');
        keys.append(piece.left(equals));
        values.append(piece.mid(equals + 1));
    }
    QStringList expected = {QStringLiteral("login"), QStringLiteral("password"), QStringLiteral("force"),
                            QStringLiteral("host"),  QStringLiteral("myip"),     QStringLiteral("unique")};
    FuzzCheck::require(keys == expected, "the request has exactly its own parameters", url);
    FuzzCheck::require(decoded(values.at(0)) == user, "the name arrives as typed", url);
    FuzzCheck::require(decoded(values.at(1)) == password, "the password arrives as typed", url);
    FuzzCheck::require(values.at(2) == QStringLiteral("Y"), "force is always asked for");
    QStringList sentHosts;
    for (const QString& host : values.at(3).split(u';')) {
        sentHosts.append(decoded(host));
    }
    FuzzCheck::require(sentHosts == hosts, "the hosts arrive as typed, split only between them", url);
    FuzzCheck::require(decoded(values.at(4)) == address, "the address arrives as typed", url);
    FuzzCheck::require(!url.contains(u'#') && !url.contains(u' '), "nothing in the URL ends or splits it", url);
}

QString expectedResult(const QString& answer, const QStringList& hosts)
{
    const bool updated = answer.contains(QStringLiteral("0="));
    if (hosts.size() > 1) {
        if (!updated) {
            return QStringLiteral("None of the selected domains were updated.");
        }
        return answer.contains(QStringLiteral("1=")) ? QStringLiteral("Some of the selected domains were updated.")
                                                     : QStringLiteral("All selected domains were updated.");
    }
    return (updated ? QStringLiteral("Updated: ") : QStringLiteral("Not Updated: ")) + hosts.value(0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool failed = (data[0] & 1) != 0;
    const bool firstFromTray = (data[0] & 2) != 0;
    // Name, password, hosts (separated by NUL), then the answer as the last piece.
    QStringList pieces = FuzzCheck::pieces(data + 1, size - 1, 6);
    if (pieces.size() < 3) {
        return 0;
    }
    const QString answer = pieces.takeLast();
    const QString user = pieces.takeFirst();
    const QString password = pieces.takeFirst();
    const QString address = QStringLiteral("198.51.100.9");

    const QString dir = FuzzCheck::scratchDirectory();
    if (!AccountFile::write(dir, user, password, pieces)) {
        return 0;
    }
    const QByteArray accountFile = FuzzCheck::readFile(dir + QStringLiteral("Account.ini"));
    // A name or password that opens a quote runs on to the next one, as the file format has it:
    // such a file may hold fewer than two fields, and then no host at all.
    const auto hosts = AccountFile::readHosts(dir);
    if (!hosts) {
        return 0;
    }

    FakeClock clock;
    EventLog log(clock);
    SettingsModel model;
    model.ConfigPath = dir;
    model.GatewayURL = gateway;
    model.Force = 1;
    FakeMainForm form;
    form.user = user;
    form.pass = password;
    form.remote = address;
    form.last = firstFromTray ? QStringLiteral("Not Updated") : QStringLiteral("Updating ...");
    ScriptedPageRequester wb;
    UpdateExchange updates(wb, model, form, log, clock);
    int wizards = 0;
    QObject::connect(&updates, &UpdateExchange::wizardNeeded, &updates, [&wizards] { ++wizards; });

    updates.UpdateIP();
    if (hosts->isEmpty()) {
        FuzzCheck::require(wizards == 1 && wb.navigations().isEmpty(), "without a host the wizard is asked for");
        return 0;
    }
    FuzzCheck::require(wb.navigations().size() == 1 && wizards == 0, "one request is sent");
    checkRequest(wb.lastNavigation(), user, password, *hosts, address);
    FuzzCheck::require(updates.hostsInFlight() == *hosts, "the hosts in flight are those sent");
    const QString stars = QString(password.toUcs4().size(), u'*');
    FuzzCheck::require(log.text().contains(QStringLiteral("&password=") + stars + QStringLiteral("&host=")),
                       "the log shows the password as asterisks", log.text());

    const QString logBefore = log.text();
    wb.completeWith(answer, failed ? PageRequester::Outcome::Failed : PageRequester::Outcome::Answered);
    FuzzCheck::require(FuzzCheck::readFile(dir + QStringLiteral("Account.ini")) == accountFile,
                       "the account file is left alone");
    if (answer.isEmpty()) {
        FuzzCheck::require(log.text() == logBefore && form.response == QStringLiteral("Update Request Sent ..."),
                           "an empty page changes nothing");
        return 0;
    }
    const QString added = log.text().mid(logBefore.size());
    const QString result = clock.nowText() + QStringLiteral(" - ") + expectedResult(answer, *hosts) + u"\r\n";
    FuzzCheck::require(added.startsWith(result), "the answer gets its result line", added);
    QString shown = answer + u"\r\n";
    shown.remove(QStringLiteral("HTTP/1.1 200 OK\r\n"));
    FuzzCheck::require(form.response == shown, "the answer is shown without its status line");
    const bool records = !failed && !firstFromTray;
    FuzzCheck::require(model.LastIP == (records ? address : QString()), "only an answer records the address");
    FuzzCheck::require(added.contains(QStringLiteral(" - Completed updating.\r\n")) == records,
                       "completion is logged when recorded");
    return 0;
}
