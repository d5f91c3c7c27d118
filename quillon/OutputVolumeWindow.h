#pragma once
// Quillon's own volume window, for a desktop without a volume control: the
// sound server's volume of the output and its mute, set as they are moved.

#include <QWidget>

class QCheckBox;
class QLabel;
class QSlider;

namespace tonara::quillon {

class OutputVolumeWindow : public QWidget {
    Q_OBJECT
public:
    explicit OutputVolumeWindow(bool dutch);
    // Reads the server's volume afresh and shows the window.
    void showVolume();

private:
    void volumeChanged();
    void showPercent();

    bool dutch_;
    QLabel* output_;
    QLabel* volumeLabel_;
    QSlider* volume_;
    QLabel* percent_;
    QCheckBox* mute_;
};

} // namespace tonara::quillon
