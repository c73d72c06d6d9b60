#include "MainHarness.h"

#include "EventLog.h"

QString MainHarness::host()
{
    return QStringLiteral("127.0.0.1:8780");
}

MainHarness::MainHarness()
{
    MainController::Services services{desktop,
                                      clock,
                                      machine,
                                      windows,
                                      wizard,
                                      [this](const QString& name, QObject* parent) -> PageRequester* {
                                          auto* requester = new ScriptedPageRequester(parent);
                                          requester->setObjectName(name);
                                          m_requesters.insert(name, requester);
                                          return requester;
                                      },
                                      dir.path(),
                                      host(),
                                      QStringLiteral("127.0.0.1:8780/keepalive"),
                                      QStringLiteral("127.0.0.1:8780/echo1")};
    m_main = std::make_unique<MainController>(services);
}

QStringList MainHarness::logEntries() const
{
    const QString stamp = clock.nowText();
    QStringList entries;
    for (QString line : log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (line.startsWith(stamp)) {
            line.remove(0, stamp.size());
        }
        entries.append(line);
    }
    return entries;
}

void MainHarness::seedUpdateFile(const QString& date)
{
    dir.writeBytes(QStringLiteral("Update.ini"),
                   "http://127.0.0.1:8780/dyn/update\r\n1.3\r\n" + date.toUtf8() + "\r\n");
}

void MainHarness::seedConf(const QByteArray& content)
{
    dir.writeBytes(QStringLiteral("Conf.ini"), content);
}

void MainHarness::seedAccount(const QByteArray& content)
{
    dir.writeBytes(QStringLiteral("Account.ini"), content);
}

void MainHarness::seedAll()
{
    seedUpdateFile(today());
    seedConf("0\r\n5\r\n 0 \r\n 1 \r\n3\r\nloc1.example\r\nloc2.example\r\n");
    seedAccount("demo\r\ndemo123\r\nwww.example.com\r\nmail.example.com\r\n");
}
