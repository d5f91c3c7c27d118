#include "frmDX_Record.h"
#include "CaptureBuffer.h"
#include "ErrorLocations.h"
#include "Trap.h"

namespace tonara {

namespace {

QString errorText(const RuntimeError& failure) {
    return "Error: " + QString::number(failure.number()) + "\r\n" + "Desription: " + failure.description() + "\r\n" +
           "Source: Tonara";
}

} // namespace

frmDX_Record::frmDX_Record(MainWindow& mainWindow, QObject* parent) : QObject(parent), mainWindow_(mainWindow) {}

frmDX_Record::~frmDX_Record() { UninitializeSound(); }

QString frmDX_Record::Initialize(qint32 SamplesPerSec, qint16 BitsPerSample, qint16 Channels, qint32 HalfBufferLen,
                                 const QString& GUID) {
    UninitializeSound();
    try {
        layout_ = captureLayout(SamplesPerSec, BitsPerSample, Channels, HalfBufferLen);
        buffer_ = std::make_unique<CaptureBuffer>(GUID, CaptureFormat{SamplesPerSec, BitsPerSample, Channels},
                                                  layout_.halfBufferLen);
        connect(&buffer_->relay, &WakeRelay::woken, this, &frmDX_Record::DXCallback, Qt::QueuedConnection);
        return {};
    } catch (...) {
        UninitializeSound();
        return errorText(RuntimeError::fromCaught(std::current_exception()));
    }
}

bool frmDX_Record::SoundPlay() {
    if (buffer_) buffer_->device->start();
    return true;
}

bool frmDX_Record::SoundStop() {
    if (buffer_) buffer_->device->stop();
    return true;
}

void frmDX_Record::UninitializeSound() { buffer_.reset(); }

// Raises every half that has filled since the last wake-up; a fresh array
// each, so a handler may keep it.
void frmDX_Record::DXCallback() {
    trapped(mainWindow_, errol::CaptureCallback, [&] {
        while (buffer_ && buffer_->halves.waiting()) { // a handler may close the capture
            QByteArray Buffer(layout_.halfBufferLen, Qt::Uninitialized);
            buffer_->halves.take(Buffer.data());
            emit GotWaveData(Buffer, layout_.format.bitsPerSample, layout_.format.channels);
        }
    });
}

} // namespace tonara
