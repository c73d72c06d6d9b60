#include "PageText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

// Any body as an answer of the type the first byte picks, and the same bytes as markup. Beyond
// crashes and sanitizer reports, libFuzzer's time-out and memory limit catch a page that renders
// without end or without bound. Plain text must come through unchanged, and no text may hold half
// a surrogate pair (no text file can hold one: a host list with it could not be saved).

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    static const QByteArray types[] = {"text/html",
                                       "text/plain",
                                       "",
                                       "text/html; charset=iso-8859-1",
                                       "text/plain; charset=utf-16le",
                                       "text/html; charset=utf-16"};
    const QByteArray type = types[data[0] % std::size(types)];
    const QByteArray body(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const QString text = PageText::fromBody(body, type);
    if (!text.isValidUtf16() || (type == "text/plain" && text != QString::fromUtf8(body)) ||
        !PageText::fromHtml(QString::fromUtf8(body)).isValidUtf16()) {
        std::abort();
    }
    return 0;
}
