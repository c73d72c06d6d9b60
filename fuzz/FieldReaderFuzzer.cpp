#include "FieldReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any bytes as a settings file, read with a mix of field kinds the first byte picks. Beyond crashes
// and sanitizer reports: a read that fails before the end, or a reader that stops advancing (the
// program would hang at start-up on that file), aborts so that libFuzzer keeps the input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const QString content =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    FieldReader reader(content);
    for (qsizetype reads = 0; !reader.atEnd(); ++reads) {
        bool read = true;
        switch ((data[0] >> (2 * (reads % 4))) & 3U) {
        case 0:
            read = reader.readText().has_value();
            break;
        case 1:
            (void)reader.readNumber();
            break;
        case 2:
            read = reader.readNumberOrText().has_value();
            break;
        default:
            (void)reader.readInt16();
            break;
        }
        if (!read || reads > content.size()) {
            std::abort();
        }
    }
    if (reader.readText().has_value()) {
        std::abort();
    }
    return 0;
}
