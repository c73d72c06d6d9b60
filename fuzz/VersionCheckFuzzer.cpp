#include "EventLog.h"
#include "FuzzCheck.h"
#include "FuzzDesktop.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "UpdateFile.h"
#include "VersionCheck.h"
#include "support/FakeClock.h"
#include "support/ScriptedPageRequester.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

// The version check fed any page: it ends the program only with its own messages, writes the
// update file only with what it read back from "update.tmp" and today's date, keeps it when it
// offers the download, loads the settings again at most once, and touches no other settings file.

namespace {

const QString checkFailed = QStringLiteral("Error checking for updates. Please ensure you are online.");
const QString readFailed =
    QStringLiteral("Failed to read the update configuration file.\r\nPlease reinstall this application");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool askedBefore = (data[0] & 1) != 0;
    const bool download = (data[0] & 2) != 0;
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const QString dir = FuzzCheck::scratchDirectory();
    const QString updateIni = dir + QStringLiteral("Update.ini");
    const QString scratch = dir + QStringLiteral("update.tmp");
    const QByteArray oldUpdate = "http://127.0.0.1:8780/dyn/update\r\n1.3\r\n1/1/26\r\n";
    const QByteArray conf = "0\r\n5\r\n 0 \r\n 1 \r\n0\r\n127.0.0.1:8780/echo1\r\n";
    const QByteArray account = "demo\r\ndemo123\r\nwww.example.com\r\n";
    FuzzCheck::writeFile(updateIni, oldUpdate);
    FuzzCheck::writeFile(dir + QStringLiteral("Conf.ini"), conf);
    FuzzCheck::writeFile(dir + QStringLiteral("Account.ini"), account);
    QFile::remove(scratch);

    FakeClock clock;
    FuzzDesktop desktop(download);
    EventLog log(clock);
    SettingsModel model;
    model.ConfigPath = dir;
    model.AskedNewVersion = askedBefore;
    model.Version = QStringLiteral("1.3");
    ScriptedPageRequester wb;
    const ServiceUrls urls(QStringLiteral("127.0.0.1:8780"));
    VersionCheck check(wb, model, log, desktop, clock, urls);
    int reloads = 0;
    QObject::connect(&check, &VersionCheck::reloadRequested, &check, [&reloads] { ++reloads; });

    check.requestVersionPage();
    wb.completeWith(page);

    FuzzCheck::require(FuzzCheck::readFile(dir + QStringLiteral("Conf.ini")) == conf, "Conf.ini is left alone");
    FuzzCheck::require(FuzzCheck::readFile(dir + QStringLiteral("Account.ini")) == account,
                       "Account.ini is left alone");
    FuzzCheck::require(reloads <= 1 && (reloads == 0 || !desktop.hasEnded()), "one reload, never after the end");
    FuzzCheck::require(desktop.endProgramCalls() <= 1, "the program is ended once");
    const QByteArray update = FuzzCheck::readFile(updateIni);

    if (page.isEmpty()) {
        FuzzCheck::require(desktop.messages().isEmpty() && reloads == 0 && !QFile::exists(scratch),
                           "an empty page changes nothing");
        return 0;
    }
    if (!page.startsWith(QStringLiteral("url"))) {
        FuzzCheck::require(desktop.messages().size() == 1 && desktop.messages().at(0).text == checkFailed &&
                               desktop.hasEnded(),
                           "a page of another kind ends the program with the check message", page);
        FuzzCheck::require(update == oldUpdate && !QFile::exists(scratch), "nothing is written for it");
        return 0;
    }

    const auto read = UpdateFile::read(dir, QStringLiteral("update.tmp"));
    if (!read) {
        FuzzCheck::require(desktop.messages().size() == 1 && desktop.messages().at(0).text == readFailed &&
                               desktop.hasEnded(),
                           "a page that reads back short ends the program with the read message", page);
        FuzzCheck::require(update == oldUpdate, "the update file stays");
        return 0;
    }
    FuzzCheck::require(model.GatewayURL == read->gatewayUrl, "the gateway is the one read back", page);
    const bool differs = read->latestVersion != QStringLiteral("1.3");
    const bool offered = differs && !askedBefore;
    FuzzCheck::require(desktop.messages().size() == (offered ? 1 : 0), "a download is offered when due");
    if (offered) {
        FuzzCheck::require(desktop.messages().at(0).title == QStringLiteral("Update") &&
                               desktop.messages().at(0).text.contains(read->latestVersion),
                           "the offer names the version", desktop.messages().at(0).text);
        FuzzCheck::require(update == oldUpdate, "an offer keeps the update file");
        FuzzCheck::require(desktop.hasEnded() == download && reloads == (download ? 0 : 1),
                           "yes ends the program, no loads the settings again");
        FuzzCheck::require(desktop.openedUrls() == (download ? QStringList{urls.downloadPage()} : QStringList{}),
                           "yes opens the download page");
        FuzzCheck::require(model.AskedNewVersion == !download, "no is remembered");
        return 0;
    }
    FuzzCheck::require(!desktop.hasEnded() && reloads == 1, "a good page loads the settings again");
    FuzzCheck::require(update == FuzzCheck::readFile(scratch), "the update file is the page read back", page);
    FuzzCheck::require(check.hasWrittenUpdateFileOn(clock.todayText()), "the day of the write is remembered");
    FuzzCheck::require(log.text().contains(QStringLiteral("needs updated")) == differs,
                       "a different version is logged");
    return 0;
}
