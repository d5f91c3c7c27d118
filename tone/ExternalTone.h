#pragma once
// The external tone programs and the tone request file, the one line that
// tells them which pitch to sound or that they should sweep by themselves.

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

// The shell command that starts the tone program of a sound mode code
// ("sound32.dll" for "32", "cmd /c relay16.exe" for "16"); empty for the others.
QString toneProgramCommand(const QString& bit);
// The name the tone program of a code runs under, matched on the end of an image name.
QString toneProgramName(const QString& bit);

} // namespace tonara
