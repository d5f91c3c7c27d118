// The threshold test as a simulated listener takes it on the fake clock:
// tones in one ear at a time at levels set through the voice's gain, the
// pauses, the thresholds found, and the CSV file and picture saved.
#include "AudiogramScale.h"
#include "Folders.h"
#include "QuillonRig.h"
#include "ThresholdWindow.h"

#include <QImage>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace tonara::test {

namespace {

using quillon::ThresholdWindow;

constexpr qint64 kReactionMs = 400;

// Answers each tone as a listener with these thresholds (dBFS) would, after its reaction time.
class SimulatedListener {
public:
    SimulatedListener(FakePlatform& fake, ThresholdWindow& window, std::map<SignalChannel, double> thresholds)
        : fake_(fake), window_(window), thresholds_(std::move(thresholds)) {
        fake_.onProcessEvents = [this] { listen(); };
    }
    ~SimulatedListener() { fake_.onProcessEvents = {}; }

private:
    void listen() {
        if (fake_.signalsPlayed.size() == heardUpTo_) return;
        heardUpTo_ = fake_.signalsPlayed.size();
        const SignalParameters& tone = fake_.signalsPlayed.back();
        if (tone.levelDb >= thresholds_.at(tone.channel))
            fake_.at(fake_.clockMs + kReactionMs, [this] { click(window_, quillonThreshold::HearIt); });
    }

    FakePlatform& fake_;
    ThresholdWindow& window_;
    std::map<SignalChannel, double> thresholds_;
    size_t heardUpTo_ = 0;
};

struct ThresholdRun {
    TestEnvironment env;
    ThresholdWindow window{7, false};

    void take(double leftDb, double rightDb) {
        SimulatedListener listener(env.fake, window, {{SignalChannel::Left, leftDb}, {SignalChannel::Right, rightDb}});
        window.show();
        click(window, quillonThreshold::StartThreshold);
    }
};

} // namespace

TEST(ThresholdWindow, ASimulatedListenerGetsItsThresholdsBackInEachEarAndWellUnderTenMinutes) {
    ThresholdRun run;
    run.take(-50, -40);

    const auto& results = run.window.results();
    ASSERT_EQ(results.size(), 18u);
    int tones = 0;
    for (const quillon::ThresholdResult& r : results) {
        const double expected = r.ear == quillon::Ear::Left ? -50 : -40;
        EXPECT_EQ(r.outcome, quillon::ThresholdOutcome::Found) << r.frequency;
        EXPECT_NEAR(r.levelDb, expected, 5.0) << r.frequency;
        tones += r.tones;
    }
    EXPECT_EQ(run.env.fake.count("signal-play"), tones);
    std::printf("both ears, nine frequencies: %d tones in %.1f min on the fake clock\n", tones,
                double(run.env.fake.clockMs) / 60000.0);
    EXPECT_LT(run.env.fake.clockMs, 10 * 60 * 1000);
    EXPECT_EQ(control<QLabel>(run.window, quillonThreshold::ThresholdStatus).text(), "The test is complete.");
    auto& table = control<QTableWidget>(run.window, quillonThreshold::ThresholdTable);
    EXPECT_EQ(table.rowCount(), 9);
    EXPECT_EQ(table.item(2, 0)->text(), "-40 dBFS"); // 1000 Hz, right ear
    EXPECT_EQ(table.item(2, 1)->text(), "-50 dBFS");
}

TEST(ThresholdWindow, EachToneIsASecondOfOneFrequencyInOneEarAfterAPauseOfOneToThreeSeconds) {
    ThresholdRun run;
    run.take(-50, -40);
    const std::vector<SignalParameters>& tones = run.env.fake.signalsPlayed;
    const auto plays = run.env.fake.all("signal-play");
    ASSERT_EQ(plays.size(), tones.size());
    std::set<qint64> pauses;
    for (size_t k = 0; k < tones.size(); ++k) {
        EXPECT_EQ(plays[k]->durationMs, 1000);
        EXPECT_EQ(tones[k].waveform, Waveform::Sine);
        EXPECT_NE(tones[k].channel, SignalChannel::Both);
        EXPECT_LE(tones[k].levelDb, 0.0);
        if (k == 0) continue;
        // From the end of the last tone (a heard one stops at the answer) to the next.
        const qint64 lastEnd = std::min(plays[k - 1]->atMs + 2000, plays[k]->atMs);
        const qint64 pause = plays[k]->atMs - lastEnd;
        const bool heard = tones[k - 1].levelDb >= (tones[k - 1].channel == SignalChannel::Left ? -50 : -40);
        if (heard) continue; // the stop's moment is the answer's, not recorded with the play
        EXPECT_GE(pause, 1000) << k;
        EXPECT_LE(pause, 3000) << k;
        pauses.insert(pause);
    }
    EXPECT_GE(pauses.size(), 10u) << "the pauses should not be foreseeable";
    EXPECT_EQ(tones.front().channel, SignalChannel::Right);
    EXPECT_EQ(tones.back().channel, SignalChannel::Left);
}

TEST(ThresholdWindow, ListenersWhoHearNothingOrEverythingEndAndAreShownSo) {
    ThresholdRun run;
    run.take(1, -200); // left: never heard; right: heard at every level
    const auto& results = run.window.results();
    ASSERT_EQ(results.size(), 18u);
    auto& table = control<QTableWidget>(run.window, quillonThreshold::ThresholdTable);
    EXPECT_EQ(table.item(0, 0)->text(), "-100 dBFS or lower");
    EXPECT_EQ(table.item(0, 1)->text(), "not heard at 0 dBFS");
}

TEST(ThresholdWindow, FrequenciesTheOutputCannotCarryAreLeftOut) {
    ThresholdRun run;
    run.env.fake.outputRateHz = 22050;
    run.take(-50, -40);
    std::set<int> frequencies;
    for (const auto& r : run.window.results()) frequencies.insert(r.frequency);
    EXPECT_EQ(frequencies, (std::set<int>{250, 500, 1000, 2000, 4000, 6000, 8000}));
}

TEST(ThresholdWindow, ClosingTheWindowStopsTheTestAtOnce) {
    ThresholdRun run;
    run.env.fake.at(30000, [&] { run.window.close(); });
    run.take(-50, -40);
    EXPECT_LT(run.env.fake.clockMs, 31000);
    EXPECT_LT(run.window.results().size(), 18u);
    EXPECT_EQ(run.env.fake.last("signal-stop")->atMs, 30000);
    EXPECT_EQ(control<QLabel>(run.window, quillonThreshold::ThresholdStatus).text(), "The test was stopped.");
}

TEST(ThresholdWindow, TheCsvFileReadsBackAsTheTableAndThePictureIsTheAudiogram) {
    ThresholdRun run;
    run.take(-50, -40);

    const QString csv = run.env.temp("thresholds.csv");
    run.env.fake.savedNames = {csv};
    click(run.window, quillonThreshold::SaveCsv);
    EXPECT_EQ(run.env.fake.last("save-dialog")->offeredName, documentsFolder());
    const QStringList lines = fileLines(csv);
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[0], "Ear,Frequency (Hz),Threshold (dBFS),Tones,Result");
    EXPECT_EQ(lines[1], "Right,250,-40,8,threshold");
    EXPECT_EQ(lines[18], "Left,16000,-50,9,threshold");
    for (int k = 1; k < lines.size(); ++k) {
        const QStringList fields = lines[k].split(',');
        ASSERT_EQ(fields.size(), 5) << lines[k].toStdString();
        const bool left = fields[0] == "Left";
        EXPECT_EQ(fields[2].toInt(), left ? -50 : -40);
    }

    const QString png = run.env.temp("audiogram.png");
    run.env.fake.savedNames = {png};
    click(run.window, quillonThreshold::SavePicture);
    QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(1000, 700));
    int red = 0, blue = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 80 && c.blue() < 80) ++red;
            if (c.blue() > 150 && c.green() < 80 && c.red() < 80) ++blue;
        }
    EXPECT_GT(red, 500) << "the right ear's circles";
    EXPECT_GT(blue, 500) << "the left ear's crosses";
}

TEST(ThresholdWindow, AFailedSaveSaysInvalidPathAndWhy) {
    ThresholdRun run;
    run.take(-50, -40);
    run.env.fake.savedNames = {run.env.temp("no such folder/thresholds.csv")};
    click(run.window, quillonThreshold::SaveCsv);
    ASSERT_NE(run.env.fake.last("message"), nullptr);
    EXPECT_EQ(run.env.fake.last("message")->text, "Invalid path: Path not found");
    EXPECT_EQ(run.env.fake.count("end"), 0);
}

TEST(ThresholdWindow, TheVolumeWindowsButtonOpensItInTheWizardsLanguage) {
    QuillonRig rig;
    rig.handOver("256\r\nnl\r\n");
    rig.wizard.start();
    click(rig.wizard.volumeWindow(), quillonVolume::ThresholdButton);
    ThresholdWindow* window = rig.wizard.volumeWindow().thresholdWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Gehoordrempel");
    EXPECT_EQ(buttonText(*window, quillonThreshold::HearIt), "Ik hoor het");
    auto& table = control<QTableWidget>(*window, quillonThreshold::ThresholdTable);
    EXPECT_EQ(table.horizontalHeaderItem(0)->text(), "Rechteroor");

    SimulatedListener deaf(rig.env.fake, *window, {{SignalChannel::Left, 1}, {SignalChannel::Right, 1}});
    click(*window, quillonThreshold::StartThreshold);
    EXPECT_EQ(table.item(0, 0)->text(), "niet gehoord bij 0 dBFS");
    EXPECT_EQ(caption(*window, quillonThreshold::ThresholdStatus), "De test is klaar.");
}

TEST(AudiogramScale, FrequencyRunsOnALogAxisAndLevelGrowsDownwards) {
    const quillon::AudiogramScale scale(QRectF(100, 50, 700, 500));
    struct Case {
        double hz, x;
    };
    // 125 Hz to 20 kHz over 700 px: 160 times, so each octave is 700 / log2(160) px wide.
    const double octave = 700 / std::log2(160.0);
    for (const Case& c : {Case{125, 100}, Case{250, 100 + octave}, Case{1000, 100 + 3 * octave},
                          Case{16000, 100 + 7 * octave}, Case{20000, 800}, Case{50, 100}, Case{40000, 800}})
        EXPECT_NEAR(scale.x(c.hz), c.x, 1e-9) << c.hz;
    struct Level {
        double db, y;
    };
    for (const Level l : {Level{-100, 50}, Level{-50, 300}, Level{0, 550}, Level{-120, 50}, Level{6, 550}})
        EXPECT_NEAR(scale.y(l.db), l.y, 1e-9) << l.db;
    EXPECT_EQ(quillon::AudiogramScale::levelLines().size(), 11u);
    EXPECT_EQ(quillon::AudiogramScale::levelLines().front(), -100);
}

} // namespace tonara::test
