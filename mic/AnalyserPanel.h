#pragma once
// The microphone display's measuring controls, beside "+" and "-": the
// picture's choices (Trigger, Spectrum, Freeze), the capture source (Input)
// and the readouts (Frequency, Level). Standard widgets, each named.

#include "AnalyserSettings.h"
#include "MicrophoneAnalyser.h"
#include "Platform.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;

namespace tonara {

class AnalyserPanel : public QWidget {
    Q_OBJECT
public:
    explicit AnalyserPanel(QWidget* parent = nullptr);

    void setSettings(const AnalyserSettings& settings);
    AnalyserSettings settings() const;
    bool frozen() const;

    // The default source first, then the server's own; the remembered input
    // is chosen when the server still has it, the default otherwise.
    void setSources(const CaptureSources& sources);
    // The source to open: "" the default.
    QString input() const;

    void showReadings(const MicrophoneReadings& readings);
    // The readouts' words follow the language ("en", "nl"); the captions
    // follow it with the window's other texts.
    void setLanguage(const QString& language);

    // Enabled as control is: "+", which has nothing to adjust while the display is off.
    void followEnabled(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // Trigger or Spectrum changed.
    void pictureChanged();
    // The user chose another source.
    void inputChosen();

private:
    QString language_ = "en";
    MicrophoneReadings shown_;
    QCheckBox* trigger_;
    QCheckBox* spectrum_;
    QCheckBox* freeze_;
    QComboBox* input_;
    QLabel* frequency_;
    QLabel* level_;
    QString remembered_; // the settings' input, kept while the server lacks it
    QWidget* followed_ = nullptr;
};

} // namespace tonara
