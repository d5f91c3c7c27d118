#include "OutputVolumeWindow.h"
#include "Platform.h"
#include "QuillonNames.h"
#include "QuillonTrap.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

namespace tonara::quillon {

namespace {

constexpr int kPercentSteps = 100;

} // namespace

OutputVolumeWindow::OutputVolumeWindow(bool dutch) : QWidget(nullptr, Qt::Window), dutch_(dutch) {
    setObjectName("OutputVolumeWindow");
    setWindowTitle(dutch ? "Geluidsvolume" : "Sound volume");
    output_ = new QLabel(this);
    output_->setObjectName(quillonOutput::OutputName);
    output_->setWordWrap(true);
    volumeLabel_ = new QLabel(dutch ? "&Volume:" : "&Volume:", this);
    volumeLabel_->setObjectName(quillonOutput::VolumeLabel);
    volume_ = new QSlider(Qt::Horizontal, this);
    volume_->setObjectName(quillonOutput::OutputVolume);
    volume_->setAccessibleName("Volume");
    volume_->setRange(0, kPercentSteps);
    volume_->setPageStep(10);
    volumeLabel_->setBuddy(volume_);
    percent_ = new QLabel(this);
    percent_->setObjectName(quillonOutput::VolumePercent);
    percent_->setMinimumWidth(percent_->fontMetrics().horizontalAdvance("100 %"));
    mute_ = new QCheckBox(dutch ? "&Dempen" : "&Mute", this);
    mute_->setObjectName(quillonOutput::Mute);

    auto* layout = new QGridLayout(this);
    layout->addWidget(output_, 0, 0, 1, 3);
    layout->addWidget(volumeLabel_, 1, 0);
    layout->addWidget(volume_, 1, 1);
    layout->addWidget(percent_, 1, 2);
    layout->addWidget(mute_, 2, 1);
    layout->setColumnStretch(1, 1);
    setMinimumWidth(320);

    connect(volume_, &QSlider::valueChanged, this, &OutputVolumeWindow::volumeChanged);
    connect(mute_, &QCheckBox::toggled, this, &OutputVolumeWindow::volumeChanged);
}

void OutputVolumeWindow::showVolume() {
    const DeviceVolume device = platform().outputDeviceVolume();
    {
        const QSignalBlocker volumeQuiet(volume_);
        const QSignalBlocker muteQuiet(mute_);
        volume_->setValue(int(std::lround(std::min(device.level, 1.0) * kPercentSteps)));
        mute_->setChecked(device.muted);
    }
    if (device.known) output_->setText((dutch_ ? "Uitgang: " : "Output: ") + device.name);
    else
        output_->setText(dutch_ ? "Geen geluidsserver antwoordde: het volume kan hier niet worden ingesteld."
                                : "No sound server answered: the volume cannot be set here.");
    volume_->setEnabled(device.known);
    mute_->setEnabled(device.known);
    showPercent();
    show();
    raise();
}

void OutputVolumeWindow::volumeChanged() {
    trapped([&] {
        showPercent();
        platform().setOutputDeviceVolume(double(volume_->value()) / kPercentSteps, mute_->isChecked());
    });
}

void OutputVolumeWindow::showPercent() { percent_->setText(QString::number(volume_->value()) + " %"); }

} // namespace tonara::quillon
