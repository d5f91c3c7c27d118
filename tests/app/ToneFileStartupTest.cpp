// A tone file named on the command line: the player instead of the main
// window, and the Morse window opened by Play.
#include "AppRig.h"
#include "Form4.h"
#include "Form9.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace tonara::test {

namespace {

QByteArray toneFile(const char* visibility) {
    return QByteArray("%valid%\r\n[info]\r\n{236}\r\nTwo beeps\r\n{") + visibility +
           "}\r\n[sound]\r\n{1}\r\n<440>\r\n\\500\r\n<880>\r\n\\250\r\n";
}

// Which windows were ever visible while the program let events run.
struct SeenWindows {
    bool main = false, splash = false, player = false;
    void watch(AppRig& rig) {
        rig.env.fake.onProcessEvents = [this, &rig] {
            main = main || rig.form->isFormVisible(Form::Form1);
            splash = splash || rig.form->isFormVisible(Form::Form8);
            player = player || rig.form->isFormVisible(Form::Form9);
        };
    }
};

struct ToneFileRig : AppRig {
    QString path;
    explicit ToneFileRig(const QByteArray& text, const QString& commandLine = "\"%1\"") {
        QDir(env.temp()).mkdir("my tones");
        path = env.temp("my tones/a b.tnf");
        writeBytes(path, text);
        env.fake.commandLineText = commandLine.arg(path);
        writeSettings(validSettings("128"));
    }
};

} // namespace

TEST(ToneFileStart, AQuotedPathWithBlanksOpensThePlayerWithTheMainWindowHidden) {
    ToneFileRig rig(toneFile("visible"));
    SeenWindows seen;
    seen.watch(rig);
    rig.form->start();

    auto* player = rig.window<Form9>("Form9");
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(player->isVisible());
    EXPECT_EQ(control<QLabel>(*player, form9::Label4).text(), rig.path);
    EXPECT_EQ(control<QLabel>(*player, form9::Label1).text(), "2");
    EXPECT_EQ(rig.env.fake.count("play"), 2) << "the pass runs in the player's load";
    EXPECT_FALSE(rig.form->isVisible());
    EXPECT_FALSE(seen.main);
    EXPECT_FALSE(seen.splash);
    const QStringList log = rig.activityLog();
    EXPECT_EQ(log.mid(log.size() - 4),
              (QStringList{"> Bit: 128", "> Update error", "> Starting tnf file", ">> Program starting finished"}))
        << "no update file is offered here";
}

TEST(ToneFileStart, AnInvisibleFilePlaysWithNoWindowAtAllAndEndsTheProgram) {
    ToneFileRig rig(toneFile("invisible"), "%1"); // unquoted, as a shell joins its words
    SeenWindows seen;
    seen.watch(rig);
    EXPECT_THROW(rig.form->start(), ProgramEnded);
    EXPECT_EQ(rig.env.fake.count("play"), 2);
    EXPECT_EQ(rig.env.fake.last("end")->atMs, rig.env.fake.last("silence")->atMs);
    EXPECT_FALSE(seen.main || seen.splash || seen.player);
}

TEST(ToneFileStart, AnIllegalFileIsNamedInItsMessageAndEndsTheProgram) {
    ToneFileRig rig("%valid%\r\n[info]\r\n{236}\r\nx\r\n{visible}\r\n[sound]\r\n{0}\r\n");
    EXPECT_THROW(rig.form->start(), ProgramEnded);
    const PlatformRecord* message = rig.env.fake.last("message");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text, rig.path + " is not a legal tnf file!");
    EXPECT_EQ(rig.env.fake.count("play"), 0);
    EXPECT_FALSE(rig.form->isVisible());
}

TEST(ToneFileStart, ACommandLineNamingNoFileStartsAsUsual) {
    AppRig rig;
    rig.env.fake.commandLineText = "\"" + rig.env.temp("none.tnf") + "\"";
    rig.writeSettings(validSettings());
    SeenWindows seen;
    seen.watch(rig);
    rig.form->start();
    EXPECT_TRUE(seen.splash);
    EXPECT_TRUE(rig.form->isVisible());
    EXPECT_EQ(rig.window<Form9>("Form9"), nullptr);
}

TEST(MorseDispatch, PlayOpensTheMorseWindowBesideTheMainWindowInTheLanguageInForce) {
    AppRig rig;
    rig.writeSettings(validSettings("128", "NL"));
    rig.form->start();
    rig.form->setChecked(form1::Option8, true);
    rig.form->playClicked();

    auto* morse = rig.window<Form4>("Form4");
    ASSERT_NE(morse, nullptr);
    EXPECT_TRUE(morse->isVisible());
    EXPECT_FALSE(morse->isModal());
    EXPECT_TRUE(rig.form->isVisible());
    EXPECT_TRUE(rig.form->isEnabled(form1::Command2)) << "the main window's controls stay as they were";
    EXPECT_EQ(control<QLabel>(*morse, form4::Label2).text(), "Toonhoogte (Hertz):");
    EXPECT_EQ(control<QLineEdit>(*morse, form4::Text3).accessibleName(), "Toonhoogte (Hertz):");
    EXPECT_EQ(control<QLineEdit>(*morse, form4::Text1).text(), "Typ hier uw bericht...");
    const QStringList log = rig.activityLog();
    ASSERT_GE(log.size(), 3);
    EXPECT_EQ(log[log.size() - 3], "#Pressed Button 2");
    EXPECT_EQ(log[log.size() - 2].trimmed(), "3");
    EXPECT_EQ(log.last(), "#Morse");

    // Open already: Play brings the same window back.
    rig.form->playClicked();
    EXPECT_EQ(rig.window<Form4>("Form4"), morse);
}

} // namespace tonara::test
