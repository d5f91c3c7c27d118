#include "ToneRequest.h"
#include "Folders.h"
#include "NumberText.h"
#include "RuntimeError.h"
#include "SafeFiles.h"
#include "TextFile.h"

#include <limits>

namespace tonara {

QString toneRequestFile() { return joinPath(tempFolder(), "sound.ini"); }

QString pitchRequestLine(qint32 pitch) { return signedNumberText(pitch) + ' '; }

QString sweepRequestLine() { return QStringLiteral("1"); }

void writeToneRequest(const QString& line) { replaceLines(toneRequestFile(), {line}); }

ToneRequest parseToneRequest(const QByteArray& fileBytes) {
    QByteArray line = fileBytes;
    const qsizetype end = line.indexOf('\n');
    if (end >= 0) line.truncate(end);
    if (line.endsWith('\r')) line.chop(1);
    if (line == "1") return {ToneRequest::Kind::Sweep, 0};

    bool isNumber = false;
    const int pitch = line.trimmed().toInt(&isNumber);
    if (!isNumber || pitch < 1 || pitch > std::numeric_limits<qint16>::max()) return {};
    return {ToneRequest::Kind::Pitch, pitch};
}

ToneRequest readToneRequest() {
    try {
        return parseToneRequest(readFileBytes(toneRequestFile()));
    } catch (const RuntimeError&) {
        return {}; // missing, or nothing of ours: no tone
    }
}

} // namespace tonara
