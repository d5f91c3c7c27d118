// The window used from the keyboard alone: key events go to whatever has
// the focus, as they would from a real keyboard.
#include "AccessKeys.h"
#include "AppRig.h"
#include "CommandLine.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace tonara::test {

namespace {

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    if (QWidget* popup = QApplication::activePopupWidget()) target = popup;
    ASSERT_NE(target, nullptr) << "nothing has the focus";
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

void startActive(AppRig& rig) {
    rig.writeSettings(validSettings());
    rig.form->start();
    rig.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.form.get()));
}

} // namespace

TEST(Keyboard, AKeyboardOnlyRunChoosesHighPitchPlaysStopsAndOpensTheAboutBox) {
    AppRig rig;
    startActive(rig);
    Form1& form = *rig.form;
    FakePlatform& fake = rig.env.fake;
    ASSERT_EQ(QApplication::focusWidget(), form.findChild<QWidget*>(form1::Option1)) << "Low pitch comes first";

    QString statusWhilePlaying;
    bool stopEnabledWhilePlaying = false;
    bool aboutShown = false;
    const qint64 t = fake.clockMs;
    // Each step runs inside the loop the previous one started: the preview, then the tone.
    fake.at(t + 1000, [&] {
        statusWhilePlaying = form.statusText(1);
        stopEnabledWhilePlaying = form.isEnabled(form1::Command3);
        press(Qt::Key_Escape);
    });
    fake.at(t + 2000, [&] {
        press(Qt::Key_H, Qt::AltModifier);
        press(Qt::Key_A);
    });
    fake.at(t + 2500, [&] {
        aboutShown = form.isFormVisible(Form::frmAbout);
        form.state().stopme = 1;
    });
    press(Qt::Key_Down); // with no mode chosen yet, the arrows only move the focus
    press(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), form.findChild<QWidget*>(form1::Option3));
    press(Qt::Key_Space);

    EXPECT_TRUE(form.isChecked(form1::Option3));
    EXPECT_EQ(statusWhilePlaying, "Actual pitch (Hertz): 10000");
    EXPECT_TRUE(stopEnabledWhilePlaying);
    EXPECT_EQ(form.state().z, 1) << "Escape stopped the tone";
    EXPECT_TRUE(form.isEnabled(form1::Command2));
    EXPECT_FALSE(form.isEnabled(form1::Command3));
    EXPECT_TRUE(aboutShown);
    const QStringList log = rig.activityLog();
    EXPECT_EQ(log.mid(log.indexOf("#Option 3 Clicked")),
              (QStringList{"#Option 3 Clicked", "#Pressed Button 2", "10000", "#Pressed Button 3", "#Sound stopped"}));
}

TEST(Keyboard, EnterOnAModeNotYetChosenChoosesAndPlaysIt) {
    AppRig rig;
    startActive(rig);
    Form1& form = *rig.form;
    FakePlatform& fake = rig.env.fake;
    press(Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), form.findChild<QWidget*>(form1::Option2));
    fake.at(fake.clockMs + 500, [&] { form.stopClicked(); });
    fake.at(fake.clockMs + 800, [&] { form.state().stopme = 1; });
    press(Qt::Key_Return);
    EXPECT_TRUE(form.isChecked(form1::Option2));
    ASSERT_NE(fake.last("play"), nullptr);
    EXPECT_NEAR(wavPitch(fake.last("play")->data), 4500, 1);
}

TEST(Keyboard, TabGoesFromTheModesToTheCustomPitchGroupAndOnToPlay) {
    AppRig rig;
    startActive(rig);
    Form1& form = *rig.form;
    for (int k = 0; k < 6; ++k) press(Qt::Key_Down);
    press(Qt::Key_Space); // Custom pitch: no animation, Play runs once the handler is back
    form.stopClicked();
    ASSERT_TRUE(form.isChecked(form1::Option7));
    QStringList visited;
    for (int k = 0; k < 6; ++k) {
        press(Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, (QStringList{form1::HScroll1, form1::CustomPitchBox, form1::Command1, form1::Command2,
                                    form1::Volume, form1::Option7}))
        << "the modes are one stop, the disabled buttons none";
}

TEST(Keyboard, F10OpensTheMenuBarAndF1ThePitchHelp) {
    AppRig rig;
    startActive(rig);
    Form1& form = *rig.form;
    press(Qt::Key_F10);
    EXPECT_EQ(form.menuBar()->activeAction(), control<QMenu>(form, form1::file).menuAction());
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    press(Qt::Key_F1);
    EXPECT_TRUE(form.isFormVisible(Form::Form2));
    EXPECT_EQ(control<QAction>(form, form1::openfile).shortcut(), QKeySequence("Ctrl+O"));
}

TEST(Keyboard, EveryMenuHasDistinctAccessKeysInEachLanguageAndCaptionsReadBackUnmarked) {
    AppRig rig;
    rig.writeSettings(validSettings());
    rig.form->start();
    Form1& form = *rig.form;
    for (MainControl language : {form1::dutch, form1::english}) {
        control<QAction>(form, language).trigger();
        QList<QWidget*> menus{form.menuBar()};
        for (QMenu* menu : form.findChildren<QMenu*>()) menus << menu;
        for (QWidget* menu : menus) {
            QString keys;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) continue;
                const QChar key = accessKeyOf(action->text());
                EXPECT_FALSE(key.isNull()) << action->text().toStdString();
                EXPECT_FALSE(keys.contains(key)) << language.name() << ": " << action->text().toStdString();
                keys += key;
            }
        }
    }
    EXPECT_EQ(form.caption(form1::file), "File");
    EXPECT_EQ(control<QMenu>(form, form1::file).title(), "&File");
    EXPECT_EQ(form.caption(form1::about), "About...");
}

TEST(AccessKeys, MarkAFreeLetterAndComeOffAgain) {
    struct Case {
        const char* caption;
        const char* taken;
        const char* marked;
    };
    const Case cases[] = {
        {"File", "", "&File"},
        {"Sound mode", "s", "Sound &mode"},           // a word start before any other letter
        {"Sound32", "s", "S&ound32"},                 // then the first free letter
        {"Tips & tricks", "t", "T&ips && tricks"},    // a literal & stays visible
        {"...", "", "..."},                           // nothing to mark
        {"Ab", "ab", "Ab"},
    };
    for (const Case& c : cases) {
        const QString marked = withAccessKey(c.caption, c.taken);
        EXPECT_EQ(marked, c.marked) << c.caption;
        EXPECT_EQ(withoutAccessKey(marked), c.caption);
    }
    EXPECT_EQ(accessKeyOf("Tips && t&ricks"), QChar('r'));
    EXPECT_TRUE(accessKeyOf("Tips && tricks").isNull());
}

TEST(CommandLine, HelpAndVersionUnlessAFileHasThatName) {
    struct Case {
        QStringList arguments;
        bool fileExists;
        const char* startsWith; // nullptr: the program runs
    };
    const Case cases[] = {
        {{"--version"}, false, "Tonara 2.3.6\n"},
        {{"--help"}, false, "Usage: tonara [OPTION]... [--] [TONE-FILE]"},
        {{"--help"}, true, nullptr},
        // An option decides whatever follows it, as with any GNU program.
        {{"--version", "x"}, false, "Tonara 2.3.6\n"},
        {{"my", "tones.tnf"}, false, nullptr},
        {{}, false, nullptr},
    };
    for (const Case& c : cases) {
        const CommandLineReply reply = commandLineReply(c.arguments, [&](const QString&) { return c.fileExists; });
        if (!c.startsWith) {
            EXPECT_FALSE(reply.exitCode.has_value()) << c.arguments.join(' ').toStdString();
            continue;
        }
        ASSERT_EQ(reply.exitCode, 0);
        EXPECT_TRUE(reply.toOutput.startsWith(c.startsWith)) << reply.toOutput.toStdString();
    }
}

// What a user who mistypes, or names a file that is not there, is told; the
// program ends only when it cannot read its command line.
TEST(CommandLine, MistakesEndWithTheUsageAndAMissingFileOnlyWarns) {
    struct Case {
        QStringList arguments;
        std::optional<int> exitCode;
        const char* error; // the first line on standard error; "" for none
    };
    const Case cases[] = {
        {{"--bogus-option"}, 2, "tonara: unrecognized option '--bogus-option'"},
        {{"-v"}, 2, "tonara: invalid option -- 'v'"},
        {{"tones.tnf", "-x"}, 2, "tonara: invalid option -- 'x'"},
        {{"--help=all"}, 2, "tonara: option '--help' doesn't allow an argument"},
        {{"--"}, std::nullopt, ""},
        {{"missing.tnf"}, std::nullopt, "tonara: warning: no tone file 'missing.tnf'; starting without one"},
        {{"--", "-odd.tnf"}, std::nullopt, "tonara: warning: no tone file '-odd.tnf'; starting without one"},
        {{"my", "tones.tnf"}, std::nullopt, "tonara: warning: no tone file 'my tones.tnf'; starting without one"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLineReply reply = commandLineReply(c.arguments, [](const QString&) { return false; });
        EXPECT_EQ(reply.exitCode, c.exitCode);
        EXPECT_EQ(reply.toError.section('\n', 0, 0), c.error);
        EXPECT_TRUE(reply.toOutput.isEmpty());
        if (c.exitCode) {
            EXPECT_TRUE(reply.toError.contains("\nUsage: tonara [OPTION]... [--] [TONE-FILE]\n"));
        } else if (*c.error) {
            EXPECT_EQ(reply.toError.count('\n'), 1) << "a warning is one line";
        }
    }
    // A tone file that is there is played without a word.
    const CommandLineReply found = commandLineReply({"--", "-odd.tnf"}, [](const QString& operands) {
        return operands == "-odd.tnf";
    });
    EXPECT_FALSE(found.exitCode.has_value());
    EXPECT_TRUE(found.toError.isEmpty());
}

} // namespace tonara::test
