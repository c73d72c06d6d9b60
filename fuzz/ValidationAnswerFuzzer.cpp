#include "FuzzCheck.h"
#include "ValidationAnswer.h"

#include <cstddef>
#include <cstdint>

// The validation classifier against a plain reading of its rule: on the validation page the
// first run of ASCII digits followed by "=" is the status code and only "0=" accepts; any other
// page accepts with "10=Hostname" in it and otherwise tells nothing.

namespace {

QString firstStatusCode(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i) < u'0' || text.at(i) > u'9') {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9') {
            ++i;
        }
        if (i < text.size() && text.at(i) == u'=') {
            return text.mid(start, i - start + 1);
        }
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The URL, a NUL, the page text; without a NUL, the text on a URL picked by the first byte.
    QStringList parts = FuzzCheck::pieces(data, size, 2);
    if (parts.size() < 2) {
        const bool validation = size > 0 && (data[0] & 1) != 0;
        parts = {validation ? QStringLiteral("http://127.0.0.1:8780/ipupdate/account_validate.jsp?login=a&password=b")
                            : QStringLiteral("http://127.0.0.1:8780/portal"),
                 parts.value(0)};
    }
    const QString& url = parts.at(0);
    const QString& text = parts.at(1);

    const QString code = firstStatusCode(text);
    FuzzCheck::require(ValidationAnswer::statusCode(text) == code, "the status code is the first digits and \"=\"",
                       text);
    ValidationAnswer::Verdict expected = ValidationAnswer::Verdict::Undetermined;
    if (url.contains(QStringLiteral("account_validate.jsp"))) {
        expected = code == QStringLiteral("0=") ? ValidationAnswer::Verdict::Valid : ValidationAnswer::Verdict::Invalid;
    } else if (text.contains(QStringLiteral("10=Hostname"))) {
        expected = ValidationAnswer::Verdict::Valid;
    }
    FuzzCheck::require(ValidationAnswer::classify(url, text) == expected, "the verdict follows the rule",
                       url + u'\n' + text);
    FuzzCheck::require(ValidationAnswer::isValid(url, text) == (expected == ValidationAnswer::Verdict::Valid),
                       "isValid agrees with classify");
    return 0;
}
