// The update check, the connectivity test and the news window in the
// start-up, and the upload at shut-down, on a real main window.
#include "AppRig.h"
#include "Endpoints.h"
#include "Form3.h"
#include "Form7.h"

#include <QListWidget>
#include <QPushButton>

namespace tonara::test {

namespace {

QStringList withSendData(const QString& consent) {
    QStringList lines = validSettings();
    lines[3] = "SendData=" + consent;
    return lines;
}

void serveNews(FakePlatform& fake) {
    fake.webFiles[connectivityTestAddress()] = "1";
    fake.webFiles[newsPageAddress()] = "<html><body><p>Tonara news</p></body></html>";
}

} // namespace

TEST(OnlineStartup, AnAnnouncedUpdateWaitsForTheUserThenTheNewsShows) {
    AppRig rig;
    rig.writeSettings(validSettings());
    rig.env.fake.webFiles[updateFileAddress()] = "237\r\nhttps://tonara.example/download\r\n";
    serveNews(rig.env.fake);
    QStringList offered;
    rig.env.fake.onProcessEvents = [&] {
        auto* update = rig.window<Form7>("Form7");
        if (!update || !update->isVisible()) return;
        auto* list = update->findChild<QListWidget*>(form7::List1);
        for (int i = 0; i < list->count(); ++i) offered << list->item(i)->text();
        offered << update->windowTitle();
        EXPECT_FALSE(rig.form->isFormVisible(Form::Form3)) << "the news comes after the update check";
        control<QPushButton>(*update, form7::Command2).click();
    };
    rig.form->start();

    EXPECT_EQ(offered, (QStringList{"Current version: 2.3.6", "New version: 2.3.7",
                                    "Link: https://tonara.example/download", "Update found"}));
    EXPECT_FALSE(rig.form->isFormVisible(Form::Form7));
    ASSERT_TRUE(rig.form->isFormVisible(Form::Form3));
    EXPECT_TRUE(rig.window<Form3>("Form3")->webBrowser1()->toPlainText().contains("Tonara news"));
    EXPECT_TRUE(rig.form->isVisible());
    EXPECT_FALSE(rig.activityLog().contains("> Update error"));
    EXPECT_EQ(rig.activityLog().last(), ">> Program starting finished");
    EXPECT_FALSE(QFile::exists(rig.env.temp("updatetonara.txt")));
    EXPECT_FALSE(QFile::exists(rig.env.temp("testcon.dat")));
    EXPECT_EQ(rig.env.fake.count("url"), 0);
}

// The refusal is said in a box, and the start-up goes on as after "Don't update".
TEST(OnlineStartup, UpdateWithALinkThatIsNoWebAddressOpensNothingSaysSoAndGoesOn) {
    AppRig rig;
    rig.writeSettings(validSettings());
    const QString marker = rig.env.temp("ran");
    const QString link = "$(touch " + marker + ")";
    rig.env.fake.webFiles[updateFileAddress()] = ("237\r\n" + link + "\r\n").toLatin1();
    rig.env.fake.onProcessEvents = [&] {
        if (auto* update = rig.window<Form7>("Form7"); update && update->isVisible())
            control<QPushButton>(*update, form7::Command1).click();
    };
    rig.form->start();
    EXPECT_TRUE(rig.activityLog().contains("> Update error"));
    EXPECT_EQ(rig.activityLog().last(), ">> Program starting finished");
    ASSERT_NE(rig.env.fake.last("message"), nullptr);
    EXPECT_EQ(rig.env.fake.last("message")->text, "This link cannot be opened: " + link);
    EXPECT_FALSE(rig.form->isFormVisible(Form::Form7));
    EXPECT_EQ(rig.env.fake.count("url"), 0);
    EXPECT_EQ(rig.env.fake.count("start"), 0);
    EXPECT_FALSE(QFile::exists(marker));
}

TEST(OnlineStartup, TheConnectivityTestDecidesTheNewsWindow) {
    struct Case {
        const char* what;
        bool autoUpdate;
        bool reachable;
        bool toneFile;
        bool newsShown;
    };
    for (const Case c : {Case{"reachable", true, true, false, true}, Case{"unreachable", true, false, false, false},
                         Case{"a tone file to play", true, true, true, false},
                         Case{"no automatic updates", false, true, false, true}}) {
        AppRig rig;
        QStringList settings = validSettings();
        if (!c.autoUpdate) settings[0] = "AutoUpdate=n";
        rig.writeSettings(settings);
        if (c.reachable) serveNews(rig.env.fake);
        if (c.toneFile) {
            writeBytes(rig.env.temp("my tones.tnf"), "%valid%\r\n[info]\r\n{236}\r\nNo tones\r\n{visible}\r\n[sound]\r\n{1}\r\n");
            rig.env.fake.commandLineText = '"' + rig.env.temp("my tones.tnf") + '"';
        }
        rig.form->start();
        EXPECT_EQ(rig.form->isFormVisible(Form::Form3), c.newsShown) << c.what;
        EXPECT_FALSE(QFile::exists(rig.env.temp("testcon.dat"))) << c.what;
        QStringList downloads;
        for (const PlatformRecord* r : rig.env.fake.all("download")) downloads << r->text;
        QStringList expected;
        if (c.autoUpdate) expected << updateFileAddress();
        expected << connectivityTestAddress();
        if (c.newsShown) expected << newsPageAddress();
        EXPECT_EQ(downloads, expected) << c.what;
        EXPECT_EQ(rig.activityLog().contains("> Update error"), c.autoUpdate) << c.what;
    }
}

TEST(OnlineStartup, TheNewsCaptionIsDutchInDutch) {
    AppRig rig;
    rig.writeSettings(validSettings("128", "NL"));
    serveNews(rig.env.fake);
    rig.form->start();
    ASSERT_TRUE(rig.form->isFormVisible(Form::Form3));
    EXPECT_EQ(rig.window<Form3>("Form3")->windowTitle(), "Tonara online nieuws (engels)");
}

TEST(OnlineShutdown, WithConsentTheActivityLogIsHandedToTheUploader) {
    for (const char* consent : {"y", "n"}) {
        AppRig rig;
        rig.writeSettings(withSendData(consent));
        rig.form->start();
        EXPECT_THROW(rig.form->unloadHandler(), ProgramEnded);
        if (QString(consent) == "y") {
            const QStringList handOver = fileLines(rig.env.temp("snd.ini"));
            ASSERT_EQ(handOver.size(), 2);
            EXPECT_EQ(handOver[0], rig.env.temp("userdata.txt"));
            EXPECT_TRUE(handOver[1].endsWith(".txt"));
            ASSERT_EQ(rig.env.fake.count("start"), 1);
            EXPECT_EQ(rig.env.fake.last("start")->text, "cmd /c \"" + rig.env.companionFolder("ftpSend.exe") + '"');
        } else {
            EXPECT_FALSE(QFile::exists(rig.env.temp("snd.ini")));
            EXPECT_EQ(rig.env.fake.count("start"), 0);
        }
    }
}

} // namespace tonara::test
