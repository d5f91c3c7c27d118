#pragma once
// The tone request file, the one line that tells a tone program which
// pitch to sound or that it should sweep by itself.

#include <QByteArray>
#include <QString>

namespace tonara {

// %TEMP%/sound.ini
QString toneRequestFile();
// " 440 ": a pitch written as an integer line of a hand-over file.
QString pitchRequestLine(qint32 pitch);
// The request to sweep from low to high.
QString sweepRequestLine();
// Replaces the file with the one line in one step (a tone program starting
// meanwhile reads the old request or the new); raises when the folder cannot be written.
void writeToneRequest(const QString& line);

// What a tone program finds in the file: the exact line "1" is the sweep, a
// number with blanks around it a pitch; anything else asks for nothing.
struct ToneRequest {
    enum class Kind { None, Pitch, Sweep };
    Kind kind = Kind::None;
    qint32 pitch = 0;
};
ToneRequest parseToneRequest(const QByteArray& fileBytes);
// The request in %TEMP%/sound.ini; none when there is no file.
ToneRequest readToneRequest();

} // namespace tonara
