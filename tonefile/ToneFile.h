#pragma once
// Tone files (.tnf): a header that says whether the player is shown and how
// much extra time every tone gets, then pitch and duration pairs.
//
//   %valid%  [info]  {236}  any text  {visible}  [sound]  {1}  <440>  \500  <880>  \250 ...
//
// one field each, fields ending at a comma or a line end.

#include <QString>
#include <QStringList>
#include <vector>

namespace tonara {

// The newest file version this release reads.
constexpr int kToneFileVersion = 236;
// A file holds fewer fields than this.
constexpr int kToneFileFieldLimit = 2000;

struct Tone {
    qint16 pitch;    // Hz
    qint16 duration; // ms
    bool operator==(const Tone&) const = default;
};

struct ToneFile {
    qint16 visibility = 0; // 0 the player is shown, 1 it is not
    qint16 extraTime = 0;  // ms added to every tone
    std::vector<Tone> tones;
};

struct ToneFileReading {
    enum class Verdict { Accepted, Illegal, TooNew };
    Verdict verdict = Verdict::Illegal;
    ToneFile file; // when accepted
};

// Checks the fields of a file (field 1 first) and reads its tones. The first
// failed check decides; a last field without its partner is not used.
ToneFileReading checkToneFields(const QStringList& fields);

// Reads and checks the file at path; a missing file, like one of too many
// fields, is illegal. Blank lines are passed over. Raises the platform's
// error when the file exists but cannot be read.
ToneFileReading readToneFile(const QString& path);

} // namespace tonara
