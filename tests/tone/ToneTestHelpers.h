#pragma once
// Small helpers the tone tests share.

#include "FakePlatform.h"
#include "Synthesis.h"

#include <QStringList>

namespace tonara::test {

// The WAV image the engine writes for pitch.
inline QByteArray toneImage(qint32 pitch) { return CreateWaveArray(oneSecondTone(pitch), toneRateFor(pitch), 16); }

// The kinds of every recorded effect, in order.
inline QStringList kinds(const FakePlatform& fake) {
    QStringList out;
    for (const auto& r : fake.records) out << r.kind;
    return out;
}

} // namespace tonara::test
