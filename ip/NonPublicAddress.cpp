#include "NonPublicAddress.h"

#include <QStringList>

#include <array>

using namespace Qt::StringLiterals;

namespace {

struct Range
{
    quint32 network;
    int prefix;
    const char16_t* kind;
};

constexpr quint32 address(quint32 a, quint32 b = 0)
{
    return (a << 24) | (b << 16);
}

constexpr std::array<Range, 9> ranges{{
    {address(0), 8, u"a \"this network\" address"},
    {address(10), 8, u"a private address"},
    {address(100, 64), 10, u"a shared (carrier-grade NAT) address"},
    {address(127), 8, u"a loopback address"},
    {address(169, 254), 16, u"a link-local address"},
    {address(172, 16), 12, u"a private address"},
    {address(192, 168), 16, u"a private address"},
    {address(224), 4, u"a multicast address"},
    {address(240), 4, u"a reserved address"},
}};

} // namespace

QString NonPublicAddress::kindOf(const QString& dottedQuad)
{
    const QStringList groups = dottedQuad.split(u'.');
    if (groups.size() != 4) {
        return {};
    }
    quint32 value = 0;
    for (const QString& group : groups) {
        bool isNumber = false;
        const uint number = group.toUInt(&isNumber);
        if (!isNumber || number > 255) {
            return {};
        }
        value = (value << 8) | number;
    }
    for (const Range& range : ranges) {
        const quint32 mask = ~quint32{0} << (32 - range.prefix);
        if ((value & mask) == range.network) {
            return QString::fromUtf16(range.kind);
        }
    }
    return {};
}
