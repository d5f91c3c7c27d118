// Our own texts follow the language, back and forth; the design's texts and
// what a window shows since are left alone; Qt's own texts speak Dutch.
#include "OutputStatus.h"
#include "WindowLanguage.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace tonara::test {
namespace {

struct Sample {
    QWidget window;
    QLabel* speed = new QLabel("Speed (WPM):", &window);
    QPushButton* play = new QPushButton("&Play", &window);
    QPushButton* design = new QPushButton("Play Sound", &window);
    QGroupBox* timing = new QGroupBox("Timing", &window);
    QComboBox* waveform = new QComboBox(&window);
    QPushButton* plus = new QPushButton("+", &window);
    QLabel* picture = new QLabel(&window);

    Sample() {
        window.setWindowTitle("Signal generator");
        waveform->addItems({"Sine", "Square"});
        waveform->setAccessibleName("Waveform:");
        plus->setAccessibleName("Raise sensitivity");
        QPixmap dot(4, 4);
        dot.fill(Qt::blue);
        picture->setPixmap(dot);
    }
    QStringList shown() const {
        return {window.windowTitle(), speed->text(),          play->text(),          design->text(),
                timing->title(),      waveform->itemText(0),  waveform->itemText(1), waveform->accessibleName(),
                plus->text(),         plus->accessibleName()};
    }
};

TEST(FollowLanguage, GivesOurTextsInTheLanguageAndBack) {
    Sample s;
    const QStringList english = s.shown();
    const QStringList dutch{"Signaalgenerator", "Snelheid (WPM):", "&Afspelen", "Play Sound", "Timing", "Sinus",
                            "Blok",             "Golfvorm:",       "+",         "Gevoeligheid verhogen"};
    followLanguage(&s.window, "nl");
    EXPECT_EQ(s.shown(), dutch);
    EXPECT_FALSE(s.picture->pixmap().isNull()) << "a picture is no text to translate";
    followLanguage(&s.window, "nl");
    EXPECT_EQ(s.shown(), dutch) << "twice is once";
    followLanguage(&s.window, "en");
    EXPECT_EQ(s.shown(), english);
}

TEST(FollowLanguage, LeavesATextShownSinceAsItIs) {
    Sample s;
    followLanguage(&s.window, "nl");
    s.speed->setText("1200");
    followLanguage(&s.window, "en");
    EXPECT_EQ(s.speed->text(), "1200");
    s.speed->setText("Rise time (ms):");
    followLanguage(&s.window, "nl");
    EXPECT_EQ(s.speed->text(), "Stijgtijd (ms):");
}

TEST(OutputStatusText, InDutch) {
    const struct {
        int rate;
        qint32 pitch;
        const char* english;
        const char* dutch;
    } cases[] = {{48000, 0, "Output: 48 kHz", "Uitvoer: 48 kHz"},
                 {44100, 0, "Output: 44.1 kHz", "Uitvoer: 44,1 kHz"},
                 {44100, 30000, "Output: 44.1 kHz, too low for 30000 Hz", "Uitvoer: 44,1 kHz, te laag voor 30000 Hz"},
                 {0, 0, "Output: none", "Uitvoer: geen"}};
    for (const auto& c : cases) {
        EXPECT_EQ(outputStatusText(c.rate, c.pitch, "en"), c.english);
        EXPECT_EQ(outputStatusText(c.rate, c.pitch, "nl"), c.dutch);
    }
}

// Needs qt6-translations-l10n, which scripts/setup.sh installs.
TEST(QtTranslations, StandardButtonsSpeakTheLanguage) {
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    loadQtTranslations("nl");
    EXPECT_EQ(cancel(), "Annuleren");
    loadQtTranslations("en");
    EXPECT_EQ(cancel(), "Cancel");
}

} // namespace
} // namespace tonara::test
