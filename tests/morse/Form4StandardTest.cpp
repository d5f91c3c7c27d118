// The Morse window's Standard timing and Save as, on the virtual clock:
// one rendered sound on one stream, the choices kept in morse.ini.
#include "CwDecoder.h"
#include "Form4.h"
#include "KeyingSound.h"
#include "MorseSettings.h"
#include "MorseTexts.h"
#include "ProgramRig.h"
#include "SoundFileReading.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tonara::test {

namespace {

struct StandardRig : LogicRig {
    std::unique_ptr<Form4> morse;

    StandardRig() {
        main.vars.bit = "16";
        main.vars.lang = "en";
        load();
    }
    void load() {
        morse = std::make_unique<Form4>(main);
        morse->loadHandler();
        morse->show();
    }

    void chooseStandard(int wpm = 20, int characterWpm = 20, int rise = 5) {
        control<QRadioButton>(*morse, form4::Standard).setChecked(true);
        control<QSpinBox>(*morse, form4::Wpm).setValue(wpm);
        control<QSpinBox>(*morse, form4::CharacterWpm).setValue(characterWpm);
        control<QSpinBox>(*morse, form4::RiseTime).setValue(rise);
    }
    void key(const QString& message, const QString& pitch = "700") {
        control<QLineEdit>(*morse, form4::Text1).setText(message);
        control<QLineEdit>(*morse, form4::Text3).setText(pitch);
        morse->playClicked();
    }
    bool idle() const {
        return control<QPushButton>(*morse, form4::Command1).isEnabled() &&
               !control<QPushButton>(*morse, form4::Command2).isEnabled();
    }
    QStringList streamEvents() const {
        QStringList out;
        for (const PlatformRecord& r : env.fake.records)
            if (r.kind.startsWith("stream-")) out << QString("%1@%2").arg(r.kind).arg(r.atMs);
        return out;
    }
};

} // namespace

TEST(MorseStandard, TheTimingGroupStartsAtClassicWithNamedControls) {
    StandardRig rig;
    auto* group = &control<QGroupBox>(*rig.morse, form4::Timing);
    EXPECT_EQ(group->title(), "Timing");
    auto* classic = &control<QRadioButton>(*rig.morse, form4::Classic);
    auto* standard = &control<QRadioButton>(*rig.morse, form4::Standard);
    EXPECT_TRUE(classic->isChecked());
    EXPECT_EQ(classic->text(), "Classic");
    EXPECT_EQ(standard->text(), "Standard");
    struct Box {
        form4::Name label;
        form4::Name box;
        const char* caption;
        int lowest, highest, value;
    };
    for (const Box& b : {Box{form4::WpmLabel, form4::Wpm, "Speed (WPM):", 5, 60, 20},
                         Box{form4::CharacterWpmLabel, form4::CharacterWpm, "Character speed (WPM):", 20, 60, 20},
                         Box{form4::RiseTimeLabel, form4::RiseTime, "Rise time (ms):", 1, 10, 5}}) {
        auto* label = &control<QLabel>(*rig.morse, b.label);
        auto* box = &control<QSpinBox>(*rig.morse, b.box);
        EXPECT_EQ(label->text(), b.caption);
        EXPECT_EQ(label->buddy(), box);
        EXPECT_EQ(box->accessibleName(), b.caption);
        EXPECT_EQ(box->minimum(), b.lowest) << b.box.name();
        EXPECT_EQ(box->maximum(), b.highest) << b.box.name();
        EXPECT_EQ(box->value(), b.value) << b.box.name();
        EXPECT_TRUE(box->isHidden()) << "Classic shows only its own boxes";
    }
    auto* save = &control<QPushButton>(*rig.morse, form4::SaveAs);
    EXPECT_EQ(save->text(), "Save as...");
    EXPECT_FALSE(save->accessibleName().isEmpty());
    EXPECT_FALSE(control<QLineEdit>(*rig.morse, form4::Text2).isHidden());
    standard->setChecked(true);
    EXPECT_FALSE(control<QSpinBox>(*rig.morse, form4::Wpm).isHidden());
    EXPECT_TRUE(control<QLineEdit>(*rig.morse, form4::Text2).isHidden()) << "the Classic speed means nothing to Standard";
    EXPECT_FALSE(control<QLineEdit>(*rig.morse, form4::Text3).isHidden()) << "the pitch serves both";
}

TEST(MorseStandard, TheCharacterSpeedNeverFallsBelowTheSpeed) {
    StandardRig rig;
    rig.chooseStandard(20, 25);
    control<QSpinBox>(*rig.morse, form4::Wpm).setValue(30);
    EXPECT_EQ(control<QSpinBox>(*rig.morse, form4::CharacterWpm).value(), 30);
    EXPECT_EQ(control<QSpinBox>(*rig.morse, form4::CharacterWpm).minimum(), 30);
    control<QSpinBox>(*rig.morse, form4::CharacterWpm).setValue(10);
    EXPECT_EQ(control<QSpinBox>(*rig.morse, form4::CharacterWpm).value(), 30);
}

TEST(MorseStandard, TheChoicesAreKeptInTheirOwnFileForTheNextWindow) {
    StandardRig rig;
    writeBytes(rig.env.appData("tonara.ini"), "six lines\r\n");
    EXPECT_FALSE(QFile::exists(rig.env.appData("morse.ini"))) << "nothing written until something changes";
    rig.chooseStandard(13, 18, 8);
    EXPECT_EQ(loadMorseSettings(), (MorseSettings{MorseTimingChoice::Standard, {13, 18}, 8}));
    rig.load();
    EXPECT_TRUE(control<QRadioButton>(*rig.morse, form4::Standard).isChecked());
    EXPECT_EQ(control<QSpinBox>(*rig.morse, form4::Wpm).value(), 13);
    EXPECT_EQ(control<QSpinBox>(*rig.morse, form4::CharacterWpm).value(), 18);
    EXPECT_EQ(control<QSpinBox>(*rig.morse, form4::RiseTime).value(), 8);
    EXPECT_EQ(fileBytes(rig.env.appData("tonara.ini")), "six lines\r\n");

    writeBytes(rig.env.appData("morse.ini"), "Timing=Standard\r\nSpeed=999\r\nRiseTime=x\r\n");
    rig.load();
    EXPECT_EQ(control<QSpinBox>(*rig.morse, form4::Wpm).value(), 60);
    EXPECT_EQ(control<QSpinBox>(*rig.morse, form4::RiseTime).value(), 5);
}

TEST(MorseStandard, TheWholeMessageIsOneSoundOnOneStreamAndTheRunLastsItsLength) {
    StandardRig rig;
    rig.chooseStandard(20, 20, 5);
    rig.key("paris", "800");
    ASSERT_EQ(rig.env.fake.openedSounds.size(), 1u);
    const PcmSound& sound = *rig.env.fake.openedSounds[0];
    EXPECT_EQ(sound.rate, 48000);
    EXPECT_EQ(sound.frameCount(), 3 * 48000 + keyingRampFrames(48000, 5)) << "50 units of 60 ms and a ramp";
    const auto expected = renderKeying(standardPlan("PARIS", standardTiming({20, 20})), 800, 48000, 5);
    EXPECT_EQ(sound.samples, expected->samples);
    EXPECT_EQ(rig.streamEvents(), (QStringList{"stream-open@0", "stream-play@0"}));
    EXPECT_EQ(rig.env.fake.clockMs, 3009);
    EXPECT_EQ(rig.env.fake.count("beep") + rig.env.fake.count("play"), 0) << "no timed tones";
    EXPECT_TRUE(rig.idle());
}

TEST(MorseStandard, TheSoundIsMadeAtTheOutputsRateOrOneThatCarriesThePitch) {
    struct Case {
        int outputRate;
        QString pitch;
        int soundRate;
    };
    for (const Case& c : {Case{96000, "700", 96000}, Case{44100, "700", 44100}, Case{48000, "30000", 192000},
                          Case{0, "700", 192000}}) {
        StandardRig rig;
        rig.env.fake.outputRateHz = c.outputRate;
        rig.chooseStandard();
        rig.key("e", c.pitch);
        ASSERT_EQ(rig.env.fake.openedSounds.size(), 1u);
        EXPECT_EQ(rig.env.fake.openedSounds[0]->rate, c.soundRate) << c.outputRate;
    }
}

TEST(MorseStandard, StopSilencesTheStreamAtOnce) {
    StandardRig rig;
    rig.chooseStandard();
    rig.env.fake.at(500, [&] {
        rig.morse->stopClicked();
        EXPECT_TRUE(rig.idle());
    });
    rig.key("SOS SOS SOS");
    EXPECT_EQ(rig.streamEvents(), (QStringList{"stream-open@0", "stream-play@0", "stream-stop@500"}));
    EXPECT_EQ(rig.env.fake.clockMs, 500) << "the run ends with the Stop";
    EXPECT_TRUE(rig.idle());
}

TEST(MorseStandard, ClosingTheWindowOrHidingTheMainWindowSilencesIt) {
    for (const bool closeIt : {true, false}) {
        StandardRig rig;
        rig.chooseStandard();
        rig.env.fake.at(400, [&] {
            if (closeIt) rig.morse->close();
            else rig.main.hideForm(Form::Form1);
        });
        rig.key("SOS SOS");
        EXPECT_TRUE(rig.streamEvents().contains("stream-stop@400")) << closeIt;
        EXPECT_TRUE(rig.main.formEvents.contains("unload Form4"));
    }
}

TEST(MorseStandard, IllegalCharactersAreNamedBeforeAnythingSoundsAndLeftOut) {
    StandardRig rig;
    rig.chooseStandard();
    rig.key("e#<ar");
    QStringList shown;
    for (const PlatformRecord* r : rig.env.fake.all("message")) shown << r->text;
    EXPECT_EQ(shown, (QStringList{"Illegal character: #", "Illegal character: <"}));
    ASSERT_EQ(rig.env.fake.openedSounds.size(), 1u);
    EXPECT_EQ(rig.env.fake.openedSounds[0]->samples,
              renderKeying(standardPlan("EAR", standardTiming({20, 20})), 700, 48000, 5)->samples);

    StandardRig nothing;
    nothing.chooseStandard();
    nothing.key("##");
    EXPECT_EQ(nothing.env.fake.count("stream-open"), 0) << "nothing to key";
    EXPECT_TRUE(nothing.idle());
}

TEST(MorseStandard, NoOutputIsAMessageNotAnError) {
    StandardRig rig;
    rig.env.fake.noToneStreamReason = "No output device";
    rig.chooseStandard();
    rig.key("e");
    ASSERT_EQ(rig.env.fake.count("message"), 1);
    EXPECT_EQ(rig.env.fake.last("message")->text, "The message cannot be played: No output device");
    EXPECT_TRUE(rig.idle());
}

TEST(MorseStandard, EscapeClosesTheWindowOnlyWhenNothingIsKeyed) {
    StandardRig rig;
    rig.chooseStandard();
    rig.env.fake.at(300, [&] {
        QTest::keyClick(rig.morse.get(), Qt::Key_Escape);
        EXPECT_FALSE(rig.main.formEvents.contains("unload Form4")) << "not in the middle of a message";
    });
    rig.key("SOS");
    EXPECT_FALSE(rig.main.formEvents.contains("unload Form4"));
    QTest::keyClick(rig.morse.get(), Qt::Key_Escape);
    EXPECT_TRUE(rig.main.formEvents.contains("unload Form4"));
}

TEST(MorseStandard, SaveAsWritesEitherTimingAsA48kHz16BitMonoWav) {
    for (const bool standard : {true, false}) {
        SCOPED_TRACE(standard ? "Standard" : "Classic");
        StandardRig rig;
        if (standard) rig.chooseStandard(30, 30, 3);
        control<QLineEdit>(*rig.morse, form4::Text1).setText("SOS");
        const QString path = rig.env.temp("sos.wav");
        rig.env.fake.savedNames.push_back(path);
        rig.morse->saveAsClicked();
        const PlatformRecord* dialog = rig.env.fake.last("save-dialog");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->filter, "WAV files (*.wav)|*.wav");
        const SoundFileContents saved = readSoundFile(path);
        EXPECT_EQ(saved.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        EXPECT_EQ(saved.info.samplerate, 48000);
        ASSERT_EQ(saved.info.channels, 1);
        const KeyingPlan plan = standard ? standardPlan("SOS", standardTiming({30, 30})) : classicPlan("SOS", morseTiming(0));
        const auto expected = renderKeying(plan, 700, 48000, standard ? 3 : kClassicRiseMs);
        ASSERT_EQ(saved.info.frames, expected->frameCount());
        for (size_t n = 0; n < saved.samples.size(); n += 97)
            ASSERT_EQ(std::lround(saved.samples[n] * 32768.0), std::lround(expected->samples[2 * n] * 32768.0)) << n;
        EXPECT_EQ(rig.env.fake.count("stream-open") + rig.env.fake.count("beep"), 0) << "saving plays nothing";
    }
}

TEST(MorseStandard, ASaveThatFailsSaysSoAndKeepsTheFileThatWasThere) {
    StandardRig rig;
    rig.chooseStandard();
    control<QLineEdit>(*rig.morse, form4::Text1).setText("E");
    // A folder under the chosen name cannot be replaced by a file.
    const QString folder = rig.env.temp("taken.wav");
    ASSERT_TRUE(QDir().mkdir(folder));
    writeBytes(folder + "/inside", "keep");
    rig.env.fake.savedNames.push_back(folder);
    rig.morse->saveAsClicked();
    ASSERT_EQ(rig.env.fake.count("message"), 1);
    EXPECT_TRUE(rig.env.fake.last("message")->text.startsWith(folder + " cannot be saved: "));
    EXPECT_EQ(fileBytes(folder + "/inside"), "keep");

    // Cancelled: nothing happens; nothing to key: said before the dialog.
    rig.morse->saveAsClicked();
    EXPECT_EQ(rig.env.fake.count("message"), 1);
    control<QLineEdit>(*rig.morse, form4::Text1).setText("#");
    rig.morse->saveAsClicked();
    EXPECT_EQ(rig.env.fake.last("message")->text, "There is nothing to save: the message has no character to key.");
    EXPECT_EQ(rig.env.fake.count("save-dialog"), 2);
    control<QLineEdit>(*rig.morse, form4::Text1).setText("E");
    control<QLineEdit>(*rig.morse, form4::Text3).setText("30000");
    rig.morse->saveAsClicked();
    EXPECT_EQ(rig.env.fake.last("message")->text, "A file at 48000 Hz cannot hold a pitch of 30000 Hertz.");
    EXPECT_TRUE(rig.idle());
}

TEST(MorseStandard, TheSavedFileIsReadBackByAStandardDecoderAtEverySpeed) {
    for (const int wpm : {15, 20, 30}) {
        for (const QString& text : {kParisText, kLongText}) {
            SCOPED_TRACE(testing::Message() << wpm << " WPM: " << text.left(20).toStdString());
            StandardRig rig;
            rig.chooseStandard(wpm, wpm, kDefaultRiseMs);
            control<QLineEdit>(*rig.morse, form4::Text1).setText(text);
            const QString path = rig.env.temp("message.wav");
            rig.env.fake.savedNames.push_back(path);
            rig.morse->saveAsClicked();
            const CwDecoding heard = decodeCwFile(path, 1200.0 / wpm);
            ASSERT_TRUE(heard.error.isEmpty()) << heard.error.toStdString();
            EXPECT_EQ(cwNormalised(heard.text).toStdString(), text.toStdString());
        }
    }
}

} // namespace tonara::test
