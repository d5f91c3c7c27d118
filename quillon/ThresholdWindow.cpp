#include "ThresholdWindow.h"
#include "Audiogram.h"
#include "Folders.h"
#include "Platform.h"
#include "QuillonNames.h"
#include "QuillonTrap.h"
#include "SafeFiles.h"
#include "TextFile.h"
#include "ThresholdTest.h"
#include "ThresholdTexts.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <algorithm>

namespace tonara::quillon {

namespace {

const QSize kPictureSize(1000, 700);
const std::vector<Ear> kTestedEars{Ear::Right, Ear::Left};

QPushButton* makeButton(quillonThreshold::Name name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

int earColumn(Ear ear) { return ear == Ear::Left ? 1 : 0; }

} // namespace

ThresholdWindow::ThresholdWindow(unsigned seed, bool dutch) : QWidget(nullptr, Qt::Window), seed_(seed), dutch_(dutch) {
    const ThresholdTexts& texts = thresholdTexts(dutch);
    setObjectName("ThresholdWindow");
    setWindowTitle(texts.caption);
    // The age test's tones must not start while this test has the output.
    setWindowModality(Qt::ApplicationModal);
    note_ = new QLabel(texts.note, this);
    note_->setObjectName(quillonThreshold::ThresholdNote);
    note_->setWordWrap(true);
    status_ = new QLabel(texts.ready, this);
    status_->setObjectName(quillonThreshold::ThresholdStatus);
    start_ = makeButton(quillonThreshold::StartThreshold, texts.start, this);
    hear_ = makeButton(quillonThreshold::HearIt, texts.hearIt, this);
    hear_->setEnabled(false);
    hear_->setFocusPolicy(Qt::NoFocus); // Space must not click whatever button had the focus
    audiogram_ = new AudiogramWidget(dutch, this);
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(quillonThreshold::ThresholdTable);
    table_->setAccessibleName("Thresholds");
    table_->setHorizontalHeaderLabels({earName(Ear::Right, dutch), earName(Ear::Left, dutch)});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    saveCsv_ = makeButton(quillonThreshold::SaveCsv, texts.saveCsv, this);
    savePicture_ = makeButton(quillonThreshold::SavePicture, texts.savePicture, this);
    saveCsv_->setEnabled(false);
    savePicture_->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(note_, 0, 0, 1, 4);
    layout->addWidget(status_, 1, 0, 1, 2);
    layout->addWidget(start_, 1, 2);
    layout->addWidget(hear_, 1, 3);
    layout->addWidget(audiogram_, 2, 0, 1, 3);
    layout->addWidget(table_, 2, 3);
    layout->addWidget(saveCsv_, 3, 2);
    layout->addWidget(savePicture_, 3, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    resize(820, 560);

    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
    connect(space, &QShortcut::activated, this, &ThresholdWindow::hearClicked);
    connect(start_, &QPushButton::clicked, this, &ThresholdWindow::startClicked);
    connect(hear_, &QPushButton::clicked, this, &ThresholdWindow::hearClicked);
    connect(saveCsv_, &QPushButton::clicked, this, &ThresholdWindow::saveCsvClicked);
    connect(savePicture_, &QPushButton::clicked, this, &ThresholdWindow::savePictureClicked);
}

ThresholdWindow::~ThresholdWindow() = default;

const std::vector<ThresholdResult>& ThresholdWindow::results() const { return shown_; }

void ThresholdWindow::fillTable(const std::vector<int>& frequencies) {
    table_->setRowCount(int(frequencies.size()));
    QStringList rows;
    for (const int frequency : frequencies) rows << QString::number(frequency) + " Hz";
    table_->setVerticalHeaderLabels(rows);
    for (int row = 0; row < table_->rowCount(); ++row)
        for (int column = 0; column < 2; ++column) table_->setItem(row, column, new QTableWidgetItem());
}

void ThresholdWindow::startClicked() {
    trapped([&] {
        if (test_ && test_->running()) return;
        const std::vector<int> frequencies = thresholdFrequencies(platform().outputRate());
        test_ = std::make_unique<ThresholdTest>(kTestedEars, frequencies, seed_++);
        shown_.clear();
        audiogram_->setResults({});
        fillTable(frequencies);
        start_->setEnabled(false);
        hear_->setEnabled(true);
        saveCsv_->setEnabled(false);
        savePicture_->setEnabled(false);
        test_->run([&](const ThresholdResult& result) { showResult(result); },
                   [&](Ear ear, int frequency) { showNextTone(ear, frequency); });
        const bool complete = shown_.size() == kTestedEars.size() * frequencies.size();
        status_->setText(complete ? thresholdTexts(dutch_).complete : thresholdTexts(dutch_).stopped);
        start_->setEnabled(true);
        hear_->setEnabled(false);
        saveCsv_->setEnabled(!shown_.empty());
        savePicture_->setEnabled(!shown_.empty());
    });
}

void ThresholdWindow::showNextTone(Ear ear, int frequency) {
    status_->setText(thresholdTexts(dutch_).listening.arg(earName(ear, dutch_)).arg(frequency));
}

void ThresholdWindow::showResult(const ThresholdResult& result) {
    shown_.push_back(result);
    audiogram_->setResults(shown_);
    const std::vector<int> frequencies = thresholdFrequencies(platform().outputRate());
    const auto row = std::find(frequencies.begin(), frequencies.end(), result.frequency) - frequencies.begin();
    if (QTableWidgetItem* cell = table_->item(int(row), earColumn(result.ear))) cell->setText(outcomeText(result, dutch_));
}

void ThresholdWindow::hearClicked() {
    if (test_) test_->heard();
}

void ThresholdWindow::saveAs(const QString& filter, const std::function<void(const QString&)>& write) {
    trapped([&] {
        const QString path = platform().saveFileName(filter, documentsFolder());
        if (path.isEmpty()) return;
        try {
            write(path);
        } catch (const RuntimeError& failure) {
            platform().messageBox("Invalid path: " + failure.description(), "Error", MessageIcon::Exclamation,
                                  MessageButtons::Ok);
        }
    });
}

void ThresholdWindow::saveCsvClicked() {
    saveAs(kThresholdCsvFilter, [&](const QString& path) { replaceLines(path, thresholdCsvLines(shown_)); });
}

void ThresholdWindow::savePictureClicked() {
    saveAs(kThresholdPictureFilter, [&](const QString& path) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        audiogramImage(shown_, kPictureSize, dutch_).save(&buffer, "PNG");
        replaceFileBytes(path, png);
    });
}

void ThresholdWindow::closeEvent(QCloseEvent* event) {
    if (test_) test_->stop();
    event->accept();
}

} // namespace tonara::quillon
