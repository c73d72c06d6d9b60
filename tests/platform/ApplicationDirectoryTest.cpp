#include "ApplicationDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(ApplicationDirectoryTest, IsTheProgramsDirectoryEndingWithTheSeparator)
{
    const QString path = ApplicationDirectory::path();
    ASSERT_TRUE(path.endsWith(QDir::separator()));
    EXPECT_FALSE(path.endsWith(QString(QDir::separator()) + QDir::separator()));
    EXPECT_EQ(QFileInfo(path + QFileInfo(QCoreApplication::applicationFilePath()).fileName()).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
}

TEST(ApplicationDirectoryTest, SeparatorIsAddedOnlyWhenMissing)
{
    const QString sep = QDir::separator();
    EXPECT_EQ(ApplicationDirectory::withTrailingSeparator(QStringLiteral("/opt/quorvex")),
              QDir::toNativeSeparators(QStringLiteral("/opt/quorvex")) + sep);
    EXPECT_EQ(ApplicationDirectory::withTrailingSeparator(QStringLiteral("/opt/quorvex/")),
              QDir::toNativeSeparators(QStringLiteral("/opt/quorvex/")));
    EXPECT_EQ(ApplicationDirectory::withTrailingSeparator(QStringLiteral("/")), sep);
}
