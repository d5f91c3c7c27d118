// One ear at a time in the modes Quillon synthesises, both in the tone
// programs' modes; Quillon's own volume window; Enter in the age box.
#include "OutputVolumeWindow.h"
#include "QuillonRig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

QComboBox& earList(QuillonRig& rig) { return control<QComboBox>(rig.wizard.volumeWindow(), quillonVolume::EarList); }

void chooseEar(QuillonRig& rig, int index) {
    earList(rig).setCurrentIndex(index);
    emit earList(rig).activated(index);
}

QStringList items(QComboBox& list) {
    QStringList names;
    for (int k = 0; k < list.count(); ++k) names << list.itemText(k);
    return names;
}

} // namespace

TEST(Ears, OneEarSoundsAloneAndTheResultAndReportNameIt) {
    struct Case {
        int index;
        std::pair<double, double> channels;
        const char* shown;
        const char* line19; // "" for none
    };
    for (const Case& c : {Case{1, {1.0, 0.0}, "Left ear", "Ear: Left"}, Case{2, {0.0, 1.0}, "Right ear", "Ear: Right"},
                          Case{0, {1.0, 1.0}, "Both ears", ""}}) {
        QuillonRig rig;
        rig.wizard.start();
        ASSERT_EQ(items(earList(rig)), (QStringList{"Both ears", "Left ear", "Right ear"}));
        EXPECT_TRUE(earList(rig).isEnabled());
        EXPECT_FALSE(control<QLabel>(rig.wizard.volumeWindow(), quillonVolume::EarNote).isVisible());
        chooseEar(rig, c.index);
        rig.env.fake.at(300, [&] {
            EXPECT_EQ(rig.env.fake.playerChannels, c.channels) << "the set-up tone, " << c.shown;
            click(rig.wizard.volumeWindow(), quillonVolume::Command3);
        });
        click(rig.wizard.volumeWindow(), quillonVolume::Command2);
        rig.env.fake.playerChannels = {0.5, 0.5};
        runTest(rig, "30", 5);
        EXPECT_EQ(rig.env.fake.playerChannels, c.channels) << "the levels, " << c.shown;
        EXPECT_EQ(caption(rig.wizard.resultWindow(), quillonResult::EarTested), c.shown);

        saveReportAs(rig, rig.env.temp("report.txt"));
        const QStringList report = fileLines(rig.env.temp("report.txt"));
        ASSERT_EQ(report.size(), *c.line19 ? 19 : 18) << c.shown;
        EXPECT_EQ(report[17], "Hearing is: Average");
        if (*c.line19) {
            EXPECT_EQ(report[18], c.line19);
        }
    }
}

TEST(Ears, ChangingTheEarMovesTheSoundingSetUpTone) {
    QuillonRig rig;
    rig.wizard.start();
    std::pair<double, double> before, after;
    rig.env.fake.at(200, [&] {
        before = rig.env.fake.playerChannels;
        chooseEar(rig, 2);
        after = rig.env.fake.playerChannels;
        click(rig.wizard.volumeWindow(), quillonVolume::Command3);
    });
    click(rig.wizard.volumeWindow(), quillonVolume::Command2);
    EXPECT_EQ(before, (std::pair{1.0, 1.0}));
    EXPECT_EQ(after, (std::pair{0.0, 1.0}));
}

TEST(Ears, TheToneProgramModesOfferBothEarsOnlyAndSayWhy) {
    for (const char* handOver : {"16\r\nen\r\n", "32\r\nnl\r\n"}) {
        QuillonRig rig;
        rig.handOver(handOver);
        rig.wizard.start();
        EXPECT_EQ(items(earList(rig)).size(), 1) << handOver;
        EXPECT_FALSE(earList(rig).isEnabled());
        QLabel& note = control<QLabel>(rig.wizard.volumeWindow(), quillonVolume::EarNote);
        EXPECT_TRUE(note.isVisible());
        EXPECT_TRUE(note.text().contains(QByteArray(handOver).startsWith("16") ? "external tone program" : "toonprogramma"))
            << note.text().toStdString();
        rig.env.fake.playerChannels = {0.25, 0.25};
        rig.env.fake.at(300, [&] { click(rig.wizard.volumeWindow(), quillonVolume::Command3); });
        click(rig.wizard.volumeWindow(), quillonVolume::Command2);
        EXPECT_EQ(rig.env.fake.playerChannels, (std::pair{0.25, 0.25})) << "the player is not theirs to set";
    }
}

TEST(SoundSettings, WithoutAVolumeControlQuillonsOwnWindowSetsTheOutputsVolume) {
    QuillonRig rig;
    rig.wizard.start();
    rig.env.fake.volumeControlInstalled = false;
    rig.env.fake.deviceVolume = {true, 0.62, false, "Built-in Audio"};
    click(rig.wizard.volumeWindow(), quillonVolume::Command1);
    quillon::OutputVolumeWindow* window = rig.wizard.volumeWindow().outputVolumeWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto& slider = control<QSlider>(*window, quillonOutput::OutputVolume);
    EXPECT_EQ(slider.value(), 62);
    EXPECT_EQ(caption(*window, quillonOutput::OutputName), "Output: Built-in Audio");
    EXPECT_EQ(rig.env.fake.count("device-volume"), 0) << "showing it changes nothing";

    slider.setValue(30);
    ASSERT_NE(rig.env.fake.last("device-volume"), nullptr);
    EXPECT_EQ(rig.env.fake.last("device-volume")->levelPercent, 30);
    EXPECT_DOUBLE_EQ(rig.env.fake.deviceVolume.level, 0.30);
    EXPECT_EQ(caption(*window, quillonOutput::VolumePercent), "30 %");
    control<QCheckBox>(*window, quillonOutput::Mute).setChecked(true);
    EXPECT_TRUE(rig.env.fake.last("device-volume")->muted);
    EXPECT_TRUE(rig.env.fake.deviceVolume.muted);

    // Closing it leaves the wizard as it was.
    window->close();
    EXPECT_EQ(rig.env.fake.count("end"), 0);
    EXPECT_TRUE(rig.wizard.volumeWindow().isVisible());
}

TEST(SoundSettings, WithoutASoundServerTheWindowSaysSoAndOffersNothingToMove) {
    QuillonRig rig;
    rig.wizard.start();
    rig.env.fake.volumeControlInstalled = false;
    rig.env.fake.deviceVolume = {};
    click(rig.wizard.volumeWindow(), quillonVolume::Command1);
    quillon::OutputVolumeWindow& window = *rig.wizard.volumeWindow().outputVolumeWindow();
    EXPECT_FALSE(control<QSlider>(window, quillonOutput::OutputVolume).isEnabled());
    EXPECT_FALSE(control<QCheckBox>(window, quillonOutput::Mute).isEnabled());
    EXPECT_TRUE(caption(window, quillonOutput::OutputName).contains("No sound server"));
}

TEST(AgeEntry, EnterInTheAgeBoxDoesWhatContinueDoes) {
    struct Case {
        const char* typed;
        bool accepted;
    };
    for (const Case& c : {Case{"42", true}, Case{"", false}}) {
        QuillonRig rig;
        rig.wizard.start();
        quillon::Form4& age = rig.wizard.ageWindow();
        age.loadHandler();
        age.show();
        auto& box = control<QLineEdit>(age, quillonAge::Text1);
        QTest::keyClicks(&box, c.typed);
        QTest::keyClick(&box, Qt::Key_Return);
        EXPECT_EQ(!age.isVisible(), c.accepted) << c.typed;
        EXPECT_EQ(rig.env.fake.count("message"), c.accepted ? 0 : 1) << c.typed;
        if (c.accepted) {
            EXPECT_EQ(rig.wizard.state().age, 42);
        }
    }
}

} // namespace tonara::test
