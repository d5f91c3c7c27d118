#include "UpdateFile.h"

#include "NumberText.h"
#include "TextFile.h"

namespace tonara {

namespace {
constexpr int kRejectedLineCount = 9;
}

UpdateFile readUpdateFile(const QByteArray& bytes) {
    UpdateFile file;
    file.lines = wholeLines(bytes, kRejectedLineCount);
    file.rejected = file.lines.size() == kRejectedLineCount;
    return file;
}

double announcedVersion(const QString& line) {
    QString digits = line;
    digits.remove(' ').remove('\t');
    return leadingNumberValue(digits);
}

QString versionText(const QString& line) { return line.mid(0, 1) + "." + line.mid(1, 1) + "." + line.mid(2, 1); }

} // namespace tonara
