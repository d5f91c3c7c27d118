#pragma once
// "Hearing threshold...": the threshold test of each ear, its audiogram and
// table, and saving them as a CSV file and a PNG picture.

#include "ThresholdResult.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTableWidget;

namespace tonara::quillon {

class AudiogramWidget;
class ThresholdTest;

class ThresholdWindow : public QWidget {
    Q_OBJECT
public:
    // seed: the order of the pauses between tones.
    ThresholdWindow(unsigned seed, bool dutch);
    ~ThresholdWindow() override;

    // Runs the test of both ears; returns when it has ended or was stopped.
    void startClicked();
    void hearClicked();
    void saveCsvClicked();
    void savePictureClicked();
    const std::vector<ThresholdResult>& results() const;

protected:
    // Closing stops the test; the window only hides, the wizard goes on.
    void closeEvent(QCloseEvent* event) override;

private:
    void showResult(const ThresholdResult& result);
    void showNextTone(Ear ear, int frequency);
    void fillTable(const std::vector<int>& frequencies);
    // Writes to a path the user picks; the reason when it cannot.
    void saveAs(const QString& filter, const std::function<void(const QString& path)>& write);

    unsigned seed_;
    bool dutch_;
    std::unique_ptr<ThresholdTest> test_;
    std::vector<ThresholdResult> shown_;
    QLabel* note_;
    QLabel* status_;
    QPushButton* start_;
    QPushButton* hear_;
    AudiogramWidget* audiogram_;
    QTableWidget* table_;
    QPushButton* saveCsv_;
    QPushButton* savePicture_;
};

} // namespace tonara::quillon
