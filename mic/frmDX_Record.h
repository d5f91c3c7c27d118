#pragma once
// The microphone capture object of the main window: a double buffer
// recorded by the platform's capture device, whose every filled half is
// raised as GotWaveData on the interface thread. It has no window.

#include "CaptureLayout.h"
#include "MainWindow.h"

#include <QByteArray>
#include <QObject>
#include <memory>

namespace tonara {

class CaptureBuffer;

class frmDX_Record : public QObject {
    Q_OBJECT
public:
    explicit frmDX_Record(MainWindow& mainWindow, QObject* parent = nullptr);
    // Unloading closes the capture.
    ~frmDX_Record() override;

    // Opens the device (GUID "" for the default one) and its buffer, idle.
    // Returns "" on success, otherwise the error as text; the capture is then closed.
    QString Initialize(qint32 SamplesPerSec, qint16 BitsPerSample, qint16 Channels, qint32 HalfBufferLen,
                       const QString& GUID);
    // Start and stop capturing; nothing happens while closed. Both return true.
    bool SoundPlay();
    bool SoundStop();
    // Closes the capture; never fails. Halves not yet raised are dropped.
    void UninitializeSound();

signals:
    // One half of raw PCM bytes in the capture format.
    void GotWaveData(const QByteArray& Buffer, qint16 BitsPerSample, qint16 Channels);

private:
    void DXCallback();

    MainWindow& mainWindow_;
    CaptureLayout layout_;
    std::unique_ptr<CaptureBuffer> buffer_;
};

} // namespace tonara
