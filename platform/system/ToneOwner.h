#pragma once
// A tone of an external tone program belongs to the program that asked for
// it. Every program started through startProgram is told its owner's pid in
// TONARA_OWNER_PID; a tone program ends by itself once that owner is gone, so
// a killed or crashed Tonara or Quillon leaves nothing sounding.

#include <QByteArray>
#include <QString>
#include <optional>

namespace tonara {

inline constexpr char kToneOwnerVariable[] = "TONARA_OWNER_PID";

// The owner that programs started from here are given: this process, or,
// after passToneOwnerOn(), the owner this process was given (empty: none).
QString toneOwnerForChildren();
// For a launcher that starts a tone program on its starter's behalf and ends.
void passToneOwnerOn();

// True when the process pid was told that this process owns its tones and
// started after it (so not through an earlier holder of this pid).
bool toneOwnedHere(qint64 pid);

// The value of name in an environment as /proc/<pid>/environ holds it
// (NUL-separated name=value entries); nothing when it is not there.
std::optional<QByteArray> environmentValue(const QByteArray& environment, const QByteArray& name);

// The owner named in this process's environment, as it was when watching began.
class ToneOwnerWatch {
public:
    ToneOwnerWatch();
    // True once the owner has ended, or its pid has passed to another process.
    // Never without an owner: a tone program started by hand runs until killed.
    bool ownerGone() const;

private:
    qint64 pid_ = 0;
    std::optional<quint64> startTicks_;
};

} // namespace tonara
