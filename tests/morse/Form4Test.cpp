// The Morse window on the virtual clock: in the external-program sound modes
// every element is a Beep, recorded with its pitch, duration and start.
#include "Form4.h"
#include "ProgramRig.h"
#include "ToneTestHelpers.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tonara::test {

namespace {

struct MorseRig : LogicRig {
    std::unique_ptr<Form4> morse;

    explicit MorseRig(const QString& bit = "16") {
        main.vars.bit = bit;
        main.vars.lang = "en";
        morse = std::make_unique<Form4>(main);
        morse->loadHandler();
        morse->show();
    }

    void key(const QString& message, const QString& speed = "0", const QString& pitch = "700") {
        control<QLineEdit>(*morse, form4::Text1).setText(message);
        control<QLineEdit>(*morse, form4::Text2).setText(speed);
        control<QLineEdit>(*morse, form4::Text3).setText(pitch);
        morse->playClicked();
    }

    // "pitch/duration@start" for every element, in order.
    QStringList elements() const {
        QStringList out;
        for (const PlatformRecord* r : env.fake.all("beep"))
            out << QString("%1/%2@%3").arg(r->pitch).arg(r->durationMs).arg(r->atMs);
        return out;
    }
    std::vector<int> durations() const {
        std::vector<int> out;
        for (const PlatformRecord* r : env.fake.all("beep")) out.push_back(r->durationMs);
        return out;
    }

    bool idle() const {
        return control<QPushButton>(*morse, form4::Command1).isEnabled() &&
               !control<QPushButton>(*morse, form4::Command2).isEnabled();
    }
};

const QStringList kSosAtSpeed0 = {"700/100@20",  "700/100@120", "700/100@220", "700/200@415", "700/200@615",
                                  "700/200@815", "700/100@1110", "700/100@1210", "700/100@1310"};

} // namespace

TEST(MorseWindow, LoadsWithTheDesignControlsAndDefaults) {
    MorseRig rig;
    EXPECT_EQ(rig.morse->objectName(), "Form4");
    EXPECT_EQ(rig.morse->windowTitle(), "Morse");
    EXPECT_EQ(control<QLineEdit>(*rig.morse, form4::Text1).text(), "Type your message here...");
    EXPECT_EQ(control<QLineEdit>(*rig.morse, form4::Text2).text(), "0");
    EXPECT_EQ(control<QLineEdit>(*rig.morse, form4::Text3).text(), "700");
    struct Labelled {
        form4::Name label;
        form4::Name box;
        const char* caption;
    };
    for (const Labelled& l : {Labelled{form4::Label3, form4::Text1, "Text:"},
                              Labelled{form4::Label1, form4::Text2, "Speed (normal + this (ms)) (higher is slower):"},
                              Labelled{form4::Label2, form4::Text3, "Pitch (Hertz):"}}) {
        const auto* label = rig.morse->findChild<QLabel*>(l.label);
        ASSERT_NE(label, nullptr) << l.label.name();
        EXPECT_EQ(label->text(), l.caption);
        EXPECT_EQ(label->buddy(), &control<QLineEdit>(*rig.morse, l.box));
        EXPECT_EQ(control<QLineEdit>(*rig.morse, l.box).accessibleName(), l.caption) << "screen readers announce the box by its label";
    }
    const auto* check = rig.morse->findChild<QCheckBox*>(form4::Check1);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->text(), "Hide input");
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(control<QPushButton>(*rig.morse, form4::Command1).text(), "Play sound");
    EXPECT_EQ(control<QPushButton>(*rig.morse, form4::Command2).text(), "Stop sound");
    EXPECT_TRUE(rig.idle());
    EXPECT_NE(rig.morse->findChild<QWidget*>(form4::Line1), nullptr);
    EXPECT_NE(rig.morse->findChild<QWidget*>(form4::Line2), nullptr);
    EXPECT_TRUE(rig.main.formCaptions.isEmpty()) << "English needs no language file";
}

TEST(MorseWindow, SosAtSpeed0IsNineElementsWithNoSilenceInsideALetterAnd95BetweenLetters) {
    for (const QString message : {"SOS", "sos"}) {
        MorseRig rig;
        rig.key(message);
        EXPECT_EQ(rig.elements(), kSosAtSpeed0) << message.toStdString();
        EXPECT_EQ(rig.env.fake.clockMs, 1485) << "the last pause ends the run";
        EXPECT_TRUE(rig.idle());
        EXPECT_EQ(rig.env.fake.count("message"), 0);
    }
}

TEST(MorseWindow, ASpacePauses690BetweenTwoLetters) {
    MorseRig rig;
    rig.key("a b");
    EXPECT_EQ(rig.elements(), (QStringList{"700/100@20", "700/200@120", "700/200@1010", "700/100@1210",
                                           "700/100@1310", "700/100@1410"}));
    EXPECT_EQ(1010 - (120 + 200), 690);
}

TEST(MorseWindow, KeysEachCharacterOnceAtTheChosenSpeedAndPitch) {
    MorseRig rig;
    rig.key("-", "500", "1234");
    EXPECT_EQ(rig.elements(), (QStringList{"1234/700@20", "1234/350@720", "1234/350@1070", "1234/350@1420",
                                           "1234/350@1770", "1234/700@2120"}));
}

TEST(MorseWindow, AnIllegalCharacterIsNamedThenSkippedWithItsPause) {
    MorseRig rig;
    rig.key("#e");
    const PlatformRecord* message = rig.env.fake.last("message");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text, "Illegal character: #");
    EXPECT_EQ(message->title, "Illegal character");
    EXPECT_EQ(message->icon, MessageIcon::Exclamation);
    EXPECT_EQ(message->atMs, 20);
    EXPECT_EQ(rig.elements(), QStringList{"700/100@115"});
    EXPECT_TRUE(rig.idle());

    MorseRig other;
    other.key("😀"); // outside the basic plane, still one character
    ASSERT_EQ(other.env.fake.count("message"), 1);
    EXPECT_EQ(other.env.fake.last("message")->text, "Illegal character: 😀");
}

TEST(MorseWindow, AnEmptyMessageEndsAfterItsFirstPositionWithNothingSounded) {
    MorseRig rig;
    rig.key("");
    EXPECT_EQ(rig.env.fake.count("beep"), 0);
    EXPECT_EQ(rig.env.fake.clockMs, 95);
    EXPECT_TRUE(rig.idle());
}

TEST(MorseWindow, AMessageLongerThan500CharactersIsKeyedTo500) {
    MorseRig rig;
    rig.key(QString(600, 'e'));
    EXPECT_EQ(rig.env.fake.count("beep"), 500);
    EXPECT_TRUE(rig.idle());
}

TEST(MorseWindow, OutOfRangeBoxesAreCorrectedWithTheirMessageAndTheRunGoesOn) {
    struct Case {
        QString speed, pitch;
        QStringList messages;
        QString speedAfter, pitchAfter;
        QString firstElement;
    };
    const std::vector<Case> cases = {
        {"600", "700", {"Max speed = 500"}, "0", "700", "700/100@20"},
        {"0", "49", {"Min pitch = 50 Hertz"}, "0", "700", "700/100@20"},
        {"0", "32001", {"Max pitch = 32000"}, "0", "700", "700/100@20"},
        {"501", "10", {"Max speed = 500", "Min pitch = 50 Hertz"}, "0", "700", "700/100@20"},
        {"0", "50", {}, "0", "50", "50/100@20"},
        {"0", "32000", {}, "0", "32000", "32000/100@20"},
        {"", "", {"Min pitch = 50 Hertz"}, "", "700", "700/100@20"},
    };
    for (const Case& c : cases) {
        MorseRig rig;
        rig.key("e", c.speed, c.pitch);
        QStringList shown;
        for (const PlatformRecord* r : rig.env.fake.all("message")) {
            shown << r->text;
            EXPECT_EQ(r->icon, MessageIcon::Exclamation);
        }
        EXPECT_EQ(shown, c.messages) << c.speed.toStdString() << " " << c.pitch.toStdString();
        EXPECT_EQ(control<QLineEdit>(*rig.morse, form4::Text2).text(), c.speedAfter);
        EXPECT_EQ(control<QLineEdit>(*rig.morse, form4::Text3).text(), c.pitchAfter);
        EXPECT_EQ(rig.elements(), QStringList{c.firstElement});
    }
}

TEST(MorseWindow, FarBelowZeroNothingSoundsAndNothingWaitsButThePauseBefore) {
    MorseRig rig;
    rig.key("SOS", "-300");
    EXPECT_EQ(rig.env.fake.count("beep"), 0);
    EXPECT_EQ(rig.env.fake.clockMs, 60);
    EXPECT_TRUE(rig.idle());
}

TEST(MorseWindow, StopDuringADashEndsTheRunAfterThatLetterAndItsPause) {
    MorseRig rig;
    rig.env.fake.at(500, [&] { // during O's first dash; served at the next position's event turn
        rig.morse->stopClicked();
        EXPECT_TRUE(rig.idle()) << "Stop sets the buttons at once";
    });
    rig.key("SOS");
    EXPECT_EQ(rig.elements(), kSosAtSpeed0.mid(0, 6));
    EXPECT_EQ(rig.env.fake.clockMs, 1090) << "O's dashes and its 75 ms, then nothing";
    EXPECT_TRUE(rig.idle());
}

TEST(MorseWindow, PlayRightAfterStopKeysOnlyTheNewMessage) {
    MorseRig rig;
    rig.env.fake.at(500, [&] {
        rig.morse->stopClicked();
        control<QLineEdit>(*rig.morse, form4::Text1).setText("EEEEEEEEEE");
        rig.morse->playClicked();
    });
    rig.env.fake.at(2000, [&] { rig.morse->stopClicked(); });
    rig.key("SOS");
    // S and O, then the new message from the turn at 1090, one E every 195 ms until the Stop at 2000.
    const QStringList es = {"700/100@1110", "700/100@1305", "700/100@1500", "700/100@1695", "700/100@1890"};
    EXPECT_EQ(rig.elements(), kSosAtSpeed0.mid(0, 6) + es);
    EXPECT_TRUE(rig.idle());
}

TEST(MorseWindow, ClosingTheWindowOrHidingTheMainWindowEndsTheRun) {
    {
        MorseRig rig;
        rig.env.fake.at(500, [&] { rig.morse->close(); });
        rig.key("SOS");
        EXPECT_EQ(rig.elements(), kSosAtSpeed0.mid(0, 6));
        EXPECT_TRUE(rig.main.formEvents.contains("unload Form4"));
    }
    {
        MorseRig rig;
        rig.env.fake.at(500, [&] { rig.main.hideForm(Form::Form1); });
        rig.key("SOSSOS");
        EXPECT_EQ(rig.elements(), kSosAtSpeed0) << "the letter keyed in that turn ends the run";
        EXPECT_TRUE(rig.main.formEvents.contains("unload Form4"));
    }
}

TEST(MorseWindow, HideInputHidesTheMessageAndPlayStillKeysIt) {
    MorseRig rig;
    auto* check = rig.morse->findChild<QCheckBox*>(form4::Check1);
    check->setChecked(true);
    EXPECT_TRUE(control<QLineEdit>(*rig.morse, form4::Text1).isHidden());
    EXPECT_TRUE(control<QLabel>(*rig.morse, form4::Label3).isHidden());
    rig.key("t");
    EXPECT_EQ(rig.elements(), QStringList{"700/200@20"});
    check->setChecked(false);
    EXPECT_FALSE(control<QLineEdit>(*rig.morse, form4::Text1).isHidden());
    EXPECT_FALSE(control<QLabel>(*rig.morse, form4::Label3).isHidden());
    EXPECT_EQ(control<QLineEdit>(*rig.morse, form4::Text1).text(), "t");
}

TEST(MorseWindow, TheNumberBoxesTakeOnlyWhatKeepsThemNumbers) {
    MorseRig rig;
    for (form4::Name name : {form4::Text2, form4::Text3}) {
        QLineEdit* box = &control<QLineEdit>(*rig.morse, name);
        box->setText("0");
        box->end(false);
        QTest::keyClicks(box, "x-");
        EXPECT_EQ(box->text(), "0") << name.name();
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), "") << name.name();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, "12.5");
        EXPECT_EQ(box->text(), "12.5") << name.name();
    }
}

TEST(MorseWindow, TheSoundModeDecidesTheBackEnd) {
    {
        MorseRig rig("128");
        rig.key("e");
        const PlatformRecord* play = rig.env.fake.last("play");
        ASSERT_NE(play, nullptr);
        EXPECT_EQ(play->atMs, 20);
        EXPECT_EQ(play->data, toneImage(700));
        EXPECT_EQ(rig.env.fake.last("silence")->atMs, 120);
    }
    {
        MorseRig rig("64");
        rig.key("e");
        EXPECT_EQ(rig.env.fake.count("play") + rig.env.fake.count("beep"), 0);
        EXPECT_EQ(rig.env.fake.clockMs, 95) << "no tone, the pauses still run";
    }
}

TEST(MorseWindow, AFailedRunIsReportedWithItsNumber) {
    MorseRig rig;
    control<QLineEdit>(*rig.morse, form4::Text3).setText("abc"); // no number; the key filter keeps typing from getting here
    EXPECT_THROW(rig.morse->playClicked(), ProgramEnded);
    const QStringList errorLog = fileLines(rig.env.temp("error.log"));
    ASSERT_FALSE(errorLog.isEmpty());
    EXPECT_EQ(errorLog[0], "Error number:  13,   Error value:  402");
    EXPECT_EQ(rig.env.fake.count("beep"), 0);
}

} // namespace tonara::test
