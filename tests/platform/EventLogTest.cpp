#include "EventLog.h"
#include "support/FakeClock.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(EventLog, LineFormsAndMirroring)
{
    FakeClock clock;
    EventLog log(clock);
    QSignalSpy spy(&log, &EventLog::appended);
    log.appendEntry(u" - Loaded general settings."_s);
    log.appendMessage(u"Attempting to update IPs ..."_s);
    log.appendCopy(u"0=www updated\r\n"_s);
    const QString stamp = clock.nowText();
    EXPECT_EQ(log.text(), stamp + u" - Loaded general settings.\r\n"_s + stamp +
                              u" - Attempting to update IPs ...\r\n\t>> 0=www updated\r\n"_s);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(2).at(0).toString(), u"\t>> 0=www updated\r\n"_s);
}
