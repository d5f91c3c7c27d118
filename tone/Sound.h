#pragma once
// The playback operations of the tone engine, one per back-end. Each runs
// on the interface thread and returns when its tone has ended.

#include "MainWindow.h"
#include "Platform.h"

#include <QString>
#include <memory>

namespace tonara {

class sound {
public:
    explicit sound(MainWindow& mainWindow);
    ~sound();

    void setLang(const QString& newvalue);

    // Multimedia player: a continuous tone until z is 1, a timed tone, a preset file.
    void SoundWinmmRND(qint16 pitch);
    void SoundWinmmRNDTMP(qint16 pitch, qint32 Duration); // wide: the tone-file player adds its extra time
    void SoundWinmm(qint16 pitch, const QString& modeval);

    // External tone programs and the engine-wide stop.
    void Sound16(qint16 pitch);
    void Sound32(qint16 pitch);
    void KillAll();

    // The second output stream.
    void SoundDXRND(qint32 pitch);
    void SoundDXRNDTMP(qint32 pitch, qint16 Duration);
    void SoundDX(qint32 pitch, const QString& modeval, qint32 delay);

    // The low-to-high sweep.
    void LowToHigh(const QString& bit);
    void SoundWinmmLTH();

    // The continuous tone and the sweep of a sound mode code, by its back-end;
    // a code that is none of the five plays nothing.
    void playContinuous(const QString& bit, qint16 pitch);
    void playSweep(const QString& bit);

    qint16 online = 0;

private:
    void showStatusPitch(qint32 pitch);
    void showStatusCaption();
    void showOutput(qint32 pitch);
    void waitWhilePlaying(qint16 periodMs);

    MainWindow& mainWindow_;
    QString tempFolder_;
    QString language_;
    qint16 sweepPitch_ = 0;
    std::unique_ptr<ToneStream> toneBuffer_;
};

} // namespace tonara
