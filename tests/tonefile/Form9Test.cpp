// The tone-file player on the virtual clock: what each sound mode starts,
// waits for and ends, the counters, Stop, Exit and how the instance ends.
#include "ExternalTone.h"
#include "Form9.h"
#include "ProgramRig.h"
#include "ToneTestHelpers.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace tonara::test {

namespace {

QByteArray toneFileText(const char* visibility, int extraTime, const std::vector<Tone>& tones) {
    QByteArray text = QByteArray("%valid%\r\n[info]\r\n{236}\r\nTest tones\r\n{") + visibility + "}\r\n[sound]\r\n{" +
                      QByteArray::number(extraTime) + "}\r\n";
    for (const Tone& t : tones) text += "<" + QByteArray::number(t.pitch) + ">\r\n\\" + QByteArray::number(t.duration) + "\r\n";
    return text;
}

struct PlayerRig : LogicRig {
    std::unique_ptr<Form9> player;

    PlayerRig(const QString& mode, const QByteArray& fileText) {
        writeBytes(env.temp("my tones.tnf"), fileText);
        player = std::make_unique<Form9>(main);
        player->setInputs(env.temp("my tones.tnf"), mode);
    }

    QProgressBar& bar() const { return control<QProgressBar>(*player, form9::ProgressBar1); }
    bool replayEnabled() const { return control<QPushButton>(*player, form9::Command1).isEnabled(); }
    // A running program of the name, for the player to end.
    void running(const QString& image) { env.fake.processList.push_back({qint64(env.fake.processList.size()) + 100, image}); }
};

const std::vector<Tone> kTwoTones = {{440, 500}, {880, 250}};

} // namespace

TEST(Player, EachSoundModeStartsWaitsAndEndsItsWay) {
    struct Case {
        QString mode;
        QString started;    // the command each tone starts; empty for none
        int msPerTone;      // for the two tones with 10 ms extra time: 510 and 260
        QString ended;      // the program ended after each tone
        bool player;        // the multimedia player sounds the tone
    };
    const std::vector<Case> cases = {
        {"16", "cmd /c \"%1/relay16.exe\"", 1000, "sound16.dll", false},
        {"32", "sound32.dll", 0, "sound32.dll", false},
        {"64", "", 0, "sound32.dll", true},
        {"128", "", 0, "sound32.dll", true},
        {"256", "", 0, "", true},
        {"7", "", 0, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.toStdString());
        PlayerRig rig(c.mode, toneFileText("visible", 10, kTwoTones));
        std::vector<qint64> startedAt;
        std::vector<qint64> endedAt;
        // Both tone programs run at the load and again whenever a tone is started.
        auto bothRunning = [&] { rig.env.fake.processList = {{1, "/opt/tonara/sound32.dll"}, {2, "/opt/tonara/SOUND16.DLL"}}; };
        bothRunning();
        rig.env.fake.onProcessEvents = bothRunning;
        rig.player->loadHandler();

        for (const PlatformRecord* r : rig.env.fake.all(c.player ? "play" : "start")) {
            startedAt.push_back(r->atMs);
            if (!c.player) {
                EXPECT_EQ(r->text, c.started.arg(rig.env.fake.companionFolderPath));
                EXPECT_TRUE(r->hidden);
            }
        }
        for (const PlatformRecord* r : rig.env.fake.all("terminate")) endedAt.push_back(r->atMs);

        const qint64 first = 510 + c.msPerTone;
        EXPECT_EQ(rig.env.fake.clockMs, first + 260 + c.msPerTone);
        if (!c.started.isEmpty() || c.player) {
            EXPECT_EQ(startedAt, (std::vector<qint64>{0, first}));
        } else {
            EXPECT_TRUE(startedAt.empty());
        }
        if (c.player) {
            const auto plays = rig.env.fake.all("play");
            EXPECT_EQ(plays[0]->data, toneImage(440));
            EXPECT_EQ(plays[1]->data, toneImage(880));
            const auto silences = rig.env.fake.all("silence");
            ASSERT_EQ(silences.size(), 2u);
            EXPECT_EQ(silences[0]->atMs, 510) << "duration plus extra time";
            EXPECT_EQ(silences[1]->atMs, 770);
        }
        // Load ends both tone programs, then each tone its own.
        const size_t endedPerTone = c.ended.isEmpty() ? 0 : 1;
        EXPECT_EQ(endedAt.size(), 2 + 2 * endedPerTone);
        if (endedPerTone) {
            EXPECT_EQ(endedAt[2], first);
        }

        EXPECT_EQ(fileLines(toneRequestFile()), QStringList{" 880 "}) << "the last pitch, as the tone programs read it";
        EXPECT_EQ(caption(*rig.player, form9::Label1), "2");
        EXPECT_EQ(caption(*rig.player, form9::Label2), "2");
        EXPECT_EQ(caption(*rig.player, form9::Label6), "");
        EXPECT_EQ(caption(*rig.player, form9::Label8), "");
        EXPECT_EQ(rig.bar().value(), 2);
        EXPECT_EQ(rig.bar().maximum(), 2);
        EXPECT_TRUE(rig.replayEnabled());
        EXPECT_TRUE(rig.player->isVisible());
    }
}

TEST(Player, EveryToneRequestsItsPitchAndShowsItWhileItSounds) {
    PlayerRig rig("32", toneFileText("visible", 1, {{300, 100}, {600, 200}, {900, 300}}));
    QStringList shown;
    rig.env.fake.onProcessEvents = [&] {
        shown << QStringList{caption(*rig.player, form9::Label6), caption(*rig.player, form9::Label8),
                             QString::fromLatin1(fileBytes(toneRequestFile())).trimmed(), caption(*rig.player, form9::Label1)}
                     .join('|');
    };
    rig.player->loadHandler();
    // Two event turns per tone: before its request, then with the tone shown.
    EXPECT_EQ(shown, (QStringList{"|||0", "300|100|300|0", "300|100|300|1", "600|200|600|1", "600|200|600|2",
                                  "900|300|900|2"}));
    EXPECT_EQ(caption(*rig.player, form9::Label4), rig.env.temp("my tones.tnf"));
}

TEST(Player, ATonePlaysWholeHoweverLongWithItsExtraTime) {
    PlayerRig rig("128", toneFileText("visible", 32000, {{1000, 32000}}));
    rig.player->loadHandler();
    const PlatformRecord* play = rig.env.fake.last("play");
    const PlatformRecord* silence = rig.env.fake.last("silence");
    ASSERT_NE(play, nullptr);
    ASSERT_NE(silence, nullptr);
    EXPECT_EQ(silence->atMs - play->atMs, 64000);
    EXPECT_FALSE(QFile::exists(rig.env.temp("error.log"))) << "no overflow";
}

TEST(Player, AnInvisibleFilePlaysWithNoWindowAndEndsTheInstanceAfterItsLastTone) {
    PlayerRig rig("32", toneFileText("invisible", 1, kTwoTones));
    bool everShown = false;
    rig.env.fake.onProcessEvents = [&] { everShown = everShown || rig.player->isVisible(); };
    EXPECT_THROW(rig.player->loadHandler(), ProgramEnded);
    EXPECT_FALSE(everShown);
    EXPECT_EQ(rig.env.fake.count("start"), 2);
    EXPECT_EQ(rig.env.fake.last("end")->atMs, 501 + 251);
    EXPECT_TRUE(rig.main.formEvents.contains("unload Form1")) << "the main window's shut-down runs";
}

TEST(Player, AFileOfNoTonesPlaysNothingAndShowsNoughts) {
    PlayerRig rig("128", toneFileText("visible", 1, {}));
    rig.player->loadHandler();
    EXPECT_EQ(rig.env.fake.count("play"), 0);
    EXPECT_EQ(caption(*rig.player, form9::Label1), "0");
    EXPECT_EQ(caption(*rig.player, form9::Label2), "0");
    EXPECT_EQ(rig.bar().value(), 0);
    EXPECT_GT(rig.bar().maximum(), 0) << "not a busy indicator";
    EXPECT_TRUE(rig.replayEnabled());
}

TEST(Player, StopEndsThePassAfterTheSoundingToneAndFillsTheCounters) {
    PlayerRig rig("256", toneFileText("visible", 1, {{200, 99}, {300, 99}, {400, 99}, {500, 99}, {600, 99}}));
    rig.env.fake.at(250, [&] { // during the third tone, served before the fourth
        rig.player->stopClicked();
        EXPECT_TRUE(rig.replayEnabled());
    });
    rig.player->loadHandler();
    EXPECT_EQ(rig.env.fake.count("play"), 3);
    EXPECT_EQ(caption(*rig.player, form9::Label1), "5");
    EXPECT_EQ(rig.bar().value(), 5);
    EXPECT_EQ(rig.bar().maximum(), 5);
    EXPECT_TRUE(rig.replayEnabled());
}

TEST(Player, ReplayPlaysTheListAgainAfterEndingTheTonePrograms) {
    PlayerRig rig("128", toneFileText("visible", 1, kTwoTones));
    rig.player->loadHandler();
    rig.running("/opt/tonara/sound32.dll");
    rig.running("/opt/tonara/SOUND16.DLL");
    const int terminatedBefore = rig.env.fake.count("terminate");
    rig.player->replayClicked();
    EXPECT_EQ(rig.env.fake.count("play"), 4);
    EXPECT_EQ(rig.env.fake.count("terminate") - terminatedBefore, 2);
    EXPECT_EQ(caption(*rig.player, form9::Label1), "2");
    EXPECT_TRUE(rig.replayEnabled());
}

TEST(Player, ReplayRightAfterStopStartsOverAndTheOlderPassGivesWay) {
    PlayerRig rig("256", toneFileText("visible", 1, {{200, 99}, {300, 99}, {400, 99}}));
    rig.env.fake.at(150, [&] {
        rig.player->stopClicked();
        rig.player->replayClicked();
    });
    rig.player->loadHandler();
    std::vector<QByteArray> played;
    for (const PlatformRecord* r : rig.env.fake.all("play")) played.push_back(r->data);
    EXPECT_EQ(played, (std::vector<QByteArray>{toneImage(200), toneImage(300), toneImage(200), toneImage(300),
                                               toneImage(400)}))
        << "two tones, then the whole list once";
    EXPECT_EQ(caption(*rig.player, form9::Label1), "3");
    EXPECT_TRUE(rig.replayEnabled());
}

TEST(Player, ExitOrClosingEndsTheInstanceAtOnce) {
    {
        PlayerRig rig("128", toneFileText("visible", 1, kTwoTones));
        rig.env.fake.at(100, [&] { rig.player->exitClicked(); });
        EXPECT_THROW(rig.player->loadHandler(), ProgramEnded);
        EXPECT_EQ(rig.env.fake.count("play"), 1);
        EXPECT_EQ(rig.main.formEvents.first(), "unload Form1");
    }
    {
        PlayerRig rig("128", toneFileText("visible", 1, kTwoTones));
        rig.player->loadHandler();
        EXPECT_THROW(rig.player->close(), ProgramEnded);
        EXPECT_TRUE(rig.main.formEvents.contains("unload Form1"));
    }
}

TEST(Player, ARejectedFileShowsItsMessageAndEndsTheInstance) {
    struct Case {
        QByteArray text;
        bool tooNew;
    };
    for (const Case& c : {Case{"%valid%\n[info]\n{236}\nx\n{shown}\n[sound]\n{1}\n", false},
                          Case{"%valid%\n[info]\n{300}\nx\n{visible}\n[sound]\n{1}\n", true}}) {
        PlayerRig rig("128", c.text);
        EXPECT_THROW(rig.player->loadHandler(), ProgramEnded);
        const PlatformRecord* message = rig.env.fake.last("message");
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->text, c.tooNew ? "Your Tonara version is not compatible with this file!"
                                          : rig.env.temp("my tones.tnf") + " is not a legal tnf file!");
        EXPECT_EQ(message->title, "Error");
        EXPECT_EQ(message->icon, c.tooNew ? MessageIcon::Exclamation : MessageIcon::Critical);
        EXPECT_EQ(rig.env.fake.count("play"), 0);
        EXPECT_FALSE(rig.player->isVisible());
        EXPECT_TRUE(rig.main.formEvents.contains("unload Form1"));
    }
}

TEST(Player, LoadClosesTheNewsWindowTurnsTheMicrophoneOffAndEndsToneProgramsOnce) {
    PlayerRig rig("128", toneFileText("visible", 1, {}));
    rig.main.showForm(Form::Form3);
    rig.main.vars.microcheck = 1;
    rig.running("/opt/tonara/sound32.dll");
    rig.running("/opt/other/SOUND16.DLL");
    rig.running("/usr/bin/bash");
    rig.player->loadHandler();
    EXPECT_TRUE(rig.main.formEvents.contains("unload Form3"));
    EXPECT_EQ(rig.main.vars.microcheck, 0);
    EXPECT_EQ(rig.env.fake.count("terminate"), 2);
    rig.player->loadHandler();
    EXPECT_EQ(rig.env.fake.count("terminate"), 2) << "the load runs once";
}

} // namespace tonara::test
