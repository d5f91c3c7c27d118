#pragma once
// What a program killed in the middle of a write leaves behind: the new file
// of a replacement in one step (".<name>.XXXXXX", SafeFiles.h) and the write
// test's probe.

#include <QString>
#include <QStringList>

namespace tonara {

// The write test's probe in each folder it tests: this prefix and six characters.
inline const QString kWriteProbePrefix = QStringLiteral(".tonara-write-test-");

// Removes, in the settings folder and in the temporary folder, what earlier
// runs left of the files the programs replace in one step (tonara.ini there;
// sound.ini, quillon.ini, snd.ini, updatetonara.txt, testcon.dat here) and of
// the write test. Call it at the start of a program that writes them.
void removeLeftovers();

// In folder: every "<prefix>XXXXXX" of one of prefixes that is a regular file
// of this user, last changed more than olderThanSeconds ago (one younger may
// be being written by a program running now). Anything else stays.
void removeLeftoversIn(const QString& folder, const QStringList& prefixes, int olderThanSeconds = 60);

} // namespace tonara
