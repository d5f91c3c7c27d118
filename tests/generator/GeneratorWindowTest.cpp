// The signal generator's window on the fake platform: what it plays, what
// it refuses, its keys, its files and what it remembers.
#include "GeneratorNames.h"
#include "GeneratorWindow.h"
#include "GeneratorSettings.h"
#include "ProgramRig.h"

#include <QAccessible>
#include <QApplication>
#include <QSet>
#include <QDir>
#include <QInputDialog>
#include <QTimer>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sndfile.h>

namespace tonara::test {

namespace {

struct GeneratorRig : ProgramRig {
    GeneratorWindow window;

    QString problem() const { return caption(window, generatorWindow::Problem); }
};

TEST(GeneratorWindow, NamesItselfAndEveryControl) {
    GeneratorRig rig;
    rig.window.show();
    EXPECT_EQ(rig.window.windowTitle(), "Signal generator");
    EXPECT_TRUE(rig.window.isWindow());
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(&rig.window);
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->role(), QAccessible::Dialog);
    const struct {
        generatorWindow::Name name;
        const char* announced;
    } controls[] = {
        {generatorWindow::Frequency, "Frequency:"},      {generatorWindow::Note, "Note:"},
        {generatorWindow::OctaveDown, "Octave down"},    {generatorWindow::OctaveUp, "Octave up"},
        {generatorWindow::Level, "Level (dBFS):"},       {generatorWindow::Channel, "Channel:"},
        {generatorWindow::Waveform, "Waveform:"},        {generatorWindow::Sweep, "Sweep:"},
        {generatorWindow::SweepTo, "Sweep to:"},         {generatorWindow::SweepTime, "Sweep time (s):"},
        {generatorWindow::Repeat, "Repeat"},             {generatorWindow::Duration, "Duration (s):"},
        {generatorWindow::FileFormat, "File format:"},   {generatorWindow::FileRate, "File rate (Hz):"},
        {generatorWindow::Play, "Play"},                 {generatorWindow::Stop, "Stop"},
        {generatorWindow::SaveAs, "Save as..."}};
    for (const auto& c : controls) {
        QWidget* w = rig.window.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr) << c.name.name();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(a, nullptr) << c.name.name();
        // A choice box announces its choice by name and its label by relation.
        if (!qobject_cast<QComboBox*>(w))
            EXPECT_EQ(a->text(QAccessible::Name).remove('&').toStdString(), c.announced) << c.name.name();
        else {
            EXPECT_EQ(w->accessibleName().toStdString(), c.announced) << c.name.name();
            EXPECT_FALSE(a->relations(QAccessible::Label).isEmpty()) << c.name.name();
        }
    }
    EXPECT_EQ(control<QDoubleSpinBox>(rig.window, generatorWindow::Level).value(), -20.0) << "a new tool starts at a safe level";
    EXPECT_EQ(control<QDoubleSpinBox>(rig.window, generatorWindow::Level).minimum(), -100.0);
    EXPECT_EQ(control<QDoubleSpinBox>(rig.window, generatorWindow::Level).singleStep(), 0.1);
}

// Tab reaches every control (the sweep's own ones once a sweep is chosen).
TEST(GeneratorWindow, TabReachesEveryControl) {
    GeneratorRig rig;
    rig.window.show();
    control<QComboBox>(rig.window, generatorWindow::Sweep).setCurrentIndex(1);
    // The chain Tab follows: the widgets that take focus by Tab, enabled and shown.
    QSet<QString> reached;
    QWidget* start = &control<QLineEdit>(rig.window, generatorWindow::Frequency);
    QWidget* w = start;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) reached << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != start);
    for (generatorWindow::Name name :
         {generatorWindow::Frequency, generatorWindow::OctaveDown, generatorWindow::OctaveUp, generatorWindow::Level,
          generatorWindow::Channel, generatorWindow::Waveform, generatorWindow::Sweep, generatorWindow::SweepTo,
          generatorWindow::SweepTime, generatorWindow::Repeat, generatorWindow::Duration, generatorWindow::FileFormat,
          generatorWindow::FileRate, generatorWindow::Play, generatorWindow::Stop, generatorWindow::SaveAs})
        EXPECT_TRUE(reached.contains(name.text())) << name.name();
}

TEST(GeneratorWindow, PlaysNotesAndHertzAsTyped) {
    GeneratorRig rig;
    const struct { const char* text; double hertz; const char* note; } typed[] = {
        {"A4", 440.0, "A4 +0.0 cents"}, {"C#5", 554.3652619537442, "C#5 +0.0 cents"}, {"440.25", 440.25, "A4 +1.0 cents"},
        {"1.5 kHz", 1500.0, "F#6 +23.3 cents"}};
    for (const auto& t : typed) {
        type(rig.window, generatorWindow::Frequency, t.text);
        click(rig.window, generatorWindow::Play);
        ASSERT_FALSE(rig.env.fake.signalsPlayed.empty());
        EXPECT_NEAR(rig.env.fake.signalsPlayed.back().frequency, t.hertz, 1e-9) << t.text;
        EXPECT_EQ(control<QLabel>(rig.window, generatorWindow::Note).text().toStdString(), t.note) << t.text;
        EXPECT_TRUE(rig.problem().isEmpty());
        click(rig.window, generatorWindow::Stop);
    }
    EXPECT_EQ(rig.env.fake.last("signal-play")->durationMs, 0) << "0 plays until Stop";
}

TEST(GeneratorWindow, RefusesWhatItCannotReadAndChangesNothing) {
    GeneratorRig rig;
    type(rig.window, generatorWindow::Frequency, "A4");
    click(rig.window, generatorWindow::Play);
    ASSERT_TRUE(rig.window.playing());
    const std::size_t heard = rig.env.fake.signalsPlayed.size();
    for (const char* bad : {"Q7", "-5", "1e9", "", "30 kHz"}) {
        type(rig.window, generatorWindow::Frequency, bad);
        if (QString(bad).isEmpty()) {
            control<QLineEdit>(rig.window, generatorWindow::Frequency).clear();
            QTest::keyClick(&control<QLineEdit>(rig.window, generatorWindow::Frequency), Qt::Key_Return);
        }
        EXPECT_FALSE(rig.problem().isEmpty()) << bad;
        EXPECT_EQ(rig.env.fake.signalsPlayed.size(), heard) << bad << ": the tone goes on as it was"
;
    }
    EXPECT_TRUE(rig.problem().contains("above the highest frequency")) << rig.problem().toStdString();
    click(rig.window, generatorWindow::Stop);
    const int plays = rig.env.fake.count("signal-play");
    click(rig.window, generatorWindow::Play);
    EXPECT_EQ(rig.env.fake.count("signal-play"), plays) << "nothing plays";
    EXPECT_FALSE(rig.window.playing());
}

TEST(GeneratorWindow, ChangesWhilePlayingReachTheStream) {
    GeneratorRig rig;
    type(rig.window, generatorWindow::Frequency, "1000");
    click(rig.window, generatorWindow::Play);
    control<QDoubleSpinBox>(rig.window, generatorWindow::Level).setValue(-6);
    control<QComboBox>(rig.window, generatorWindow::Channel).setCurrentIndex(1);
    control<QComboBox>(rig.window, generatorWindow::Waveform).setCurrentIndex(1);
    type(rig.window, generatorWindow::Frequency, "1234.5");
    const SignalParameters& last = rig.env.fake.signalsPlayed.back();
    EXPECT_EQ(rig.env.fake.last("signal-change") != nullptr, true);
    EXPECT_EQ(last.levelDb, -6);
    EXPECT_EQ(last.channel, SignalChannel::Left);
    EXPECT_EQ(last.waveform, Waveform::Square);
    EXPECT_EQ(last.frequency, 1234.5);
    click(rig.window, generatorWindow::Stop);
    const int changes = rig.env.fake.count("signal-change");
    control<QDoubleSpinBox>(rig.window, generatorWindow::Level).setValue(-30);
    EXPECT_EQ(rig.env.fake.count("signal-change"), changes) << "nothing changes while silent";
}

TEST(GeneratorWindow, FrequencyKeysAndOctaveButtons) {
    GeneratorRig rig;
    auto* box = &control<QLineEdit>(rig.window, generatorWindow::Frequency);
    const struct { int key; Qt::KeyboardModifiers modifiers; const char* after; } keys[] = {
        {Qt::Key_Up, Qt::NoModifier, "441"},       {Qt::Key_Down, Qt::NoModifier, "439"},
        {Qt::Key_Up, Qt::ShiftModifier, "440.01"}, {Qt::Key_Down, Qt::ShiftModifier, "439.99"},
        {Qt::Key_Up, Qt::ControlModifier, "540"},  {Qt::Key_Down, Qt::ControlModifier, "340"},
        {Qt::Key_PageUp, Qt::NoModifier, "466.16"}, {Qt::Key_PageDown, Qt::NoModifier, "415.3"}};
    for (const auto& k : keys) {
        box->setText("440");
        QTest::keyClick(box, Qt::Key(k.key), k.modifiers);
        EXPECT_EQ(box->text().toStdString(), k.after) << k.key << " " << int(k.modifiers);
    }
    box->setText("A4");
    click(rig.window, generatorWindow::OctaveUp);
    EXPECT_EQ(box->text(), "880");
    click(rig.window, generatorWindow::OctaveDown);
    click(rig.window, generatorWindow::OctaveDown);
    EXPECT_EQ(box->text(), "220");
    box->setText("1.5");
    click(rig.window, generatorWindow::OctaveDown);
    EXPECT_EQ(box->text(), "1") << "held at 1 Hz";
}

TEST(GeneratorWindow, SpacePlaysAndStopsEscapeStopsThenCloses) {
    GeneratorRig rig;
    rig.window.show();
    type(rig.window, generatorWindow::Frequency, "A4");
    control<QComboBox>(rig.window, generatorWindow::Waveform).setFocus();
    QTest::keyClick(&control<QComboBox>(rig.window, generatorWindow::Waveform), Qt::Key_Space);
    EXPECT_TRUE(rig.window.playing());
    QTest::keyClick(&control<QPushButton>(rig.window, generatorWindow::SaveAs), Qt::Key_Space);
    EXPECT_FALSE(rig.window.playing());
    EXPECT_EQ(rig.env.fake.count("signal-play"), 1);
    QTest::keyClick(&control<QDoubleSpinBox>(rig.window, generatorWindow::Level), Qt::Key_Space);
    EXPECT_TRUE(rig.window.playing());
    QTest::keyClick(&control<QLineEdit>(rig.window, generatorWindow::Frequency), Qt::Key_Escape);
    EXPECT_FALSE(rig.window.playing());
    EXPECT_TRUE(rig.window.isVisible());
    QTest::keyClick(&control<QLineEdit>(rig.window, generatorWindow::Frequency), Qt::Key_Escape);
    EXPECT_FALSE(rig.window.isVisible());
}

TEST(GeneratorWindow, TimedSignalsEndByThemselves) {
    GeneratorRig rig;
    control<QDoubleSpinBox>(rig.window, generatorWindow::Duration).setValue(0.2);
    click(rig.window, generatorWindow::Play);
    EXPECT_EQ(rig.env.fake.last("signal-play")->durationMs, 200);
    EXPECT_TRUE(rig.window.playing());
    QTest::qWait(400);
    EXPECT_FALSE(rig.window.playing());
    EXPECT_TRUE(control<QPushButton>(rig.window, generatorWindow::Play).isEnabled());
}

struct ReadBack {
    SF_INFO info{};
    std::vector<float> samples;
};

ReadBack readBack(const QString& path) {
    ReadBack r;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &r.info);
    if (!file) return r;
    r.samples.resize(std::size_t(r.info.frames) * std::size_t(r.info.channels));
    sf_readf_float(file, r.samples.data(), r.info.frames);
    sf_close(file);
    return r;
}

TEST(GeneratorWindow, SavesWhatWasAskedForAsWavOrFlac) {
    const struct { int format; int rate; int sfFormat; } files[] = {
        {0, 48000, SF_FORMAT_WAV | SF_FORMAT_PCM_16}, {1, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
        {2, 96000, SF_FORMAT_WAV | SF_FORMAT_FLOAT}, {3, 48000, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {4, 44100, SF_FORMAT_FLAC | SF_FORMAT_PCM_24}};
    for (const auto& f : files) {
        GeneratorRig rig;
        type(rig.window, generatorWindow::Frequency, "1000");
        control<QComboBox>(rig.window, generatorWindow::Channel).setCurrentIndex(1);
        control<QDoubleSpinBox>(rig.window, generatorWindow::Duration).setValue(2);
        control<QComboBox>(rig.window, generatorWindow::FileFormat).setCurrentIndex(f.format);
        auto* fileRate = &control<QComboBox>(rig.window, generatorWindow::FileRate);
        fileRate->setCurrentIndex(fileRate->findData(f.rate));
        const QString path = rig.env.temp("tone");
        rig.env.fake.savedNames.push_back(path);
        click(rig.window, generatorWindow::SaveAs);
        EXPECT_TRUE(rig.problem().isEmpty()) << rig.problem().toStdString();
        const ReadBack r = readBack(path + (f.format >= 3 ? ".flac" : ".wav"));
        SCOPED_TRACE(f.format);
        EXPECT_EQ(r.info.format, f.sfFormat);
        EXPECT_EQ(r.info.samplerate, f.rate);
        EXPECT_EQ(r.info.channels, 2);
        ASSERT_EQ(r.info.frames, 2 * f.rate);
        float left = 0, right = 0;
        for (std::size_t i = 0; i < r.samples.size(); i += 2) {
            left = std::max(left, std::abs(r.samples[i]));
            right = std::max(right, std::abs(r.samples[i + 1]));
        }
        EXPECT_NEAR(left * 32768, 3276.7, 1.5) << "-20 dBFS on the left (16 bits: with a step of dither)";
        EXPECT_EQ(right, 0.0f);
        EXPECT_LE(std::abs(r.samples[0]) * 32768, 1.0f) << "faded in";
        EXPECT_LT(std::abs(r.samples[r.samples.size() - 2]), 2e-4f) << "faded out within the length";
    }
}

// Duration 0 plays until Stop; a file asks for its length.
TEST(GeneratorWindow, AsksForTheLengthOfAFileWhenDurationIsZero) {
    GeneratorRig rig;
    const QString path = rig.env.temp("asked.wav");
    rig.env.fake.savedNames.push_back(path);
    bool asked = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QInputDialog*>(w)) {
                asked = true;
                dialog->setDoubleValue(1.5);
                dialog->accept();
            }
    });
    click(rig.window, generatorWindow::SaveAs);
    EXPECT_TRUE(asked);
    EXPECT_EQ(readBack(path).info.frames, 72000);
}

TEST(GeneratorWindow, WithoutASoundOutputItSaysSo) {
    GeneratorRig rig;
    rig.env.fake.outputRateHz = 0;
    click(rig.window, generatorWindow::Play);
    EXPECT_FALSE(rig.window.playing());
    EXPECT_EQ(rig.problem(), "There is no sound output to play on.");
}

TEST(GeneratorWindow, AFileThatCannotBeWrittenGetsAMessage) {
    GeneratorRig rig;
    control<QDoubleSpinBox>(rig.window, generatorWindow::Duration).setValue(1);
    rig.env.fake.savedNames.push_back(rig.env.temp("missing/folder/tone.wav"));
    click(rig.window, generatorWindow::SaveAs);
    EXPECT_TRUE(rig.problem().startsWith("The file could not be written")) << rig.problem().toStdString();
    EXPECT_FALSE(QFile::exists(rig.env.temp("missing/folder/tone.wav")));
}

TEST(GeneratorWindow, RemembersItsSettingsInAFileOfItsOwn) {
    TestEnvironment env;
    {
        GeneratorWindow window;
        control<QLineEdit>(window, generatorWindow::Frequency).setText("C#5");
        control<QDoubleSpinBox>(window, generatorWindow::Level).setValue(-12.5);
        control<QComboBox>(window, generatorWindow::Waveform).setCurrentIndex(3);
        control<QComboBox>(window, generatorWindow::Sweep).setCurrentIndex(2);
        control<QCheckBox>(window, generatorWindow::Repeat).setChecked(true);
        window.close();
    }
    EXPECT_TRUE(QFile::exists(env.appData("tonara/generator.ini")));
    EXPECT_FALSE(QFile::exists(env.appData("tonara.ini")));
    GeneratorWindow again;
    EXPECT_EQ(control<QLineEdit>(again, generatorWindow::Frequency).text(), "C#5");
    EXPECT_EQ(control<QDoubleSpinBox>(again, generatorWindow::Level).value(), -12.5);
    EXPECT_EQ(control<QComboBox>(again, generatorWindow::Waveform).currentIndex(), 3);
    EXPECT_EQ(control<QComboBox>(again, generatorWindow::Sweep).currentIndex(), 2);
    EXPECT_TRUE(control<QCheckBox>(again, generatorWindow::Repeat).isChecked());
}

TEST(GeneratorSettings, ValuesThatCannotBeUsedReadAsDefaults) {
    TestEnvironment env;
    QDir().mkpath(env.appData("tonara"));
    writeBytes(env.appData("tonara/generator.ini"),
               "[General]\nwaveform=17\nfrequency=nan\nlevelDb=30\nchannel=-1\nsweepSeconds=0\nsaveRate=12345\n"
               "saveFormat=x\ndurationSeconds=-4\nfrequencyText=\n");
    const GeneratorSettings s = loadGeneratorSettings();
    const GeneratorSettings defaults;
    EXPECT_EQ(s.signal.waveform, defaults.signal.waveform);
    EXPECT_EQ(s.signal.frequency, defaults.signal.frequency);
    EXPECT_EQ(s.signal.levelDb, 0.0) << "held to the highest level";
    EXPECT_EQ(s.signal.channel, defaults.signal.channel);
    EXPECT_EQ(s.signal.sweepSeconds, 0.1);
    EXPECT_EQ(s.saveRate, defaults.saveRate);
    EXPECT_EQ(s.saveFormat, defaults.saveFormat);
    EXPECT_EQ(s.durationSeconds, 0.0);
    EXPECT_EQ(s.frequencyText, defaults.frequencyText);
}

} // namespace

} // namespace tonara::test
