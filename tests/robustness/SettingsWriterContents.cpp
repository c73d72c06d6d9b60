#include "SettingsWriterContents.h"

#include "AccountFile.h"
#include "ConfFile.h"
#include "UpdateFile.h"

using namespace Qt::StringLiterals;

namespace {

QStringList names(const QString& pattern, int count)
{
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        list.append(pattern.arg(i));
    }
    return list;
}

} // namespace

bool SettingsWriterContents::write(const QString& directory, const QString& kind, bool first)
{
    if (kind == u"conf") {
        return first ? ConfFile::writeFromSettingsTab(directory, u"1"_s, u"30"_s, true, 1, u"5"_s,
                                                      names(u"locator-%1.example/ip"_s, 3000))
                     : ConfFile::writeFromSettingsTab(directory, u"0"_s, u"5"_s, false, 0, u"0"_s,
                                                      names(u"another-%1.example"_s, 1700));
    }
    if (kind == u"account") {
        return first
                   ? AccountFile::write(directory, u"alice"_s, u"first secret"_s, names(u"host%1.example.com"_s, 4000))
                   : AccountFile::write(directory, u"bob"_s, u"second, \"quoted\" secret"_s,
                                        names(u"other-%1.example.net"_s, 2500));
    }
    if (kind == u"update") {
        return first ? UpdateFile::writeFromVersionPage(
                           directory, u"http://gw.example/"_s + u"a"_s.repeated(60000) + u"\r\n1.3"_s, u"12/6/26"_s)
                     : UpdateFile::writeFromVersionPage(
                           directory, u"http://other.example/"_s + u"b"_s.repeated(30000) + u"\r\n1.4"_s, u"1/2/27"_s);
    }
    return false;
}

QString SettingsWriterContents::fileName(const QString& kind)
{
    if (kind == u"conf") {
        return u"Conf.ini"_s;
    }
    return kind == u"account" ? u"Account.ini"_s : u"Update.ini"_s;
}

QStringList SettingsWriterContents::kinds()
{
    return {u"conf"_s, u"account"_s, u"update"_s};
}
