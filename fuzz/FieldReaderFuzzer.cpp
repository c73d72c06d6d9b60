#include "FieldReader.h"
#include "FieldWriter.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any bytes as a settings file: every read must end, and each read either consumes text or fails
// at the end. The first byte picks the mix of read kinds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::uint8_t mix = data[0];
    const QString content =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    FieldReader reader(content);
    qsizetype reads = 0;
    while (!reader.atEnd()) {
        bool ok = false;
        switch ((mix >> (2 * (reads % 4))) & 3U) {
        case 0:
            ok = reader.readText().has_value();
            break;
        case 1:
            (void)reader.readNumber();
            ok = true;
            break;
        case 2:
            ok = reader.readNumberOrText().has_value();
            break;
        default:
            (void)reader.readInt16();
            ok = true;
            break;
        }
        if (!ok || ++reads > content.size() + 1) {
            std::abort(); // a read that fails before the end, or a reader that stops advancing
        }
    }
    if (reader.readText().has_value()) {
        std::abort();
    }

    // Plain lines written by the writer read back unchanged.
    QStringList lines = content.split(u'\n');
    FieldWriter writer;
    QStringList plain;
    for (const QString& line : lines) {
        if (!line.contains(u',') && !line.contains(u'"') && !line.contains(u'\r') && !line.startsWith(u' ') &&
            !line.startsWith(u'\t')) {
            plain.append(line);
        }
    }
    writer.writeTexts(plain);
    FieldReader back(writer.content());
    for (const QString& line : plain) {
        if (back.readText() != line) {
            std::abort();
        }
    }
    if (!back.atEnd()) {
        std::abort();
    }
    return 0;
}
