// Entry reading of any bytes: the reader always moves on, so every file is
// read to its end.
#include "TextFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    tonara::EntryReader reader = tonara::EntryReader::fromBytes(bytes);
    qsizetype entries = 0;
    while (!reader.atEnd()) {
        reader.next();
        if (++entries > bytes.size()) std::abort(); // an entry that consumed nothing
    }
    return 0;
}
