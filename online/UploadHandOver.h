#pragma once
// The hand-over to the uploader: snd.ini in the temporary folder, two lines,
// the local file to send and the name the server is to store it under.

#include <QString>

namespace tonara {

// The main program's side: writes the hand-over file and starts the
// uploader (ftpSend.exe beside the program), hidden and without waiting. A
// missing uploader fails unseen; a hand-over file that cannot be written raises.
void FTPSend(const QString& LocalFileName, const QString& FileName);

// The uploader's side: takes the hand-over file away (the next hand-over
// starts afresh), finds a bare local name in the temporary folder and sends
// the file to the upload address followed by the upload name. Empty when the
// file was sent or no upload address is configured; otherwise what went wrong.
QString sendHandedOverFile();

} // namespace tonara
