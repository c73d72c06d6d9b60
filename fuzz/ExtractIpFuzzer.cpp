#include "AddressText.h"
#include "FuzzCheck.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// ExtractIP against a plain reading of its rule: the first place in the text where four runs of
// ASCII digits joined by single dots begin, the last run taken whole.

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString firstDottedQuad(const QString& text)
{
    for (qsizetype start = 0; start < text.size(); ++start) {
        qsizetype at = start;
        bool whole = true;
        for (int group = 0; group < 4 && whole; ++group) {
            const qsizetype runStart = at;
            while (at < text.size() && isDigit(text.at(at))) {
                ++at;
            }
            whole = at > runStart;
            if (whole && group < 3) {
                whole = at < text.size() && text.at(at) == u'.';
                ++at;
            }
        }
        if (whole) {
            return text.mid(start, at - start);
        }
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Both as UTF-8 and as raw UTF-16, so digits of other scripts and odd code units come along.
    const QString texts[] = {
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
        QString::fromUtf16(reinterpret_cast<const char16_t*>(data), static_cast<qsizetype>(size / 2)),
    };
    for (const QString& text : texts) {
        const QString address = AddressText::ExtractIP(text);
        FuzzCheck::require(address == firstDottedQuad(text), "ExtractIP finds the first dotted quad",
                           text + u" -> " + address);
        FuzzCheck::require(address.isEmpty() || AddressText::ExtractIP(address) == address,
                           "an address extracts to itself", address);
    }
    return 0;
}
