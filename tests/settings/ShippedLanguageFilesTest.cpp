#include "SettingsTestSupport.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace tonara::test {

namespace {

QString shippedFolder() {
    const QString bin = qEnvironmentVariable("TONARA_BIN");
    if (!bin.isEmpty() && QFile::exists(bin + "/lng_en.dll")) return bin;
    return QFileInfo(QString(__FILE__)).absoluteDir().absoluteFilePath("../../lang");
}

const QStringList kDesignTexts = {
    "Low pitch", "Average pitch", "High pitch", "Extreme pitch", "Spooky pitch", "Low to high", "Custom pitch",
    "Morse tool", "Hearing age", "Choices", "Play Sound", "Stop Sound", "Custom pitch", "Selected pitch (Hz):",
    "Sound waves", "File", "Settings", "Dutch", "English", "Automatic Updates", "About...", "Donate", "Web page",
    "Sound mode", "Language", "Actual pitch (Hertz): ", QString(), "50 Hertz: Almost inaudible sound",
    "1000 Hertz: Sounds like a warning sound of your computer", "10000 Hertz: Annoying sound",
    "12500 Hertz: Hard to hear", "15000 Hertz: Very hard to hear, but annoying sound", QString(),
    "16000 to 20000 Hertz: Insects will immediatly go away from your pc", "21000 Hertz +/-: Spooky sound",
    "22000 Hertz and higher: Inaudible sound", "Information about the pitches", QString(), "Pitch (Hertz):",
    "Speed (normal + this (ms)) (higher is slower):", "Hide input", "Text:", "Play sound", "Stop sound"};

} // namespace

TEST(ShippedLanguageFiles, BothPassEveryCheckWithEachEntryInPlace) {
    for (const QString code : {"en", "nl"}) {
        const QString path = shippedFolder() + "/lng_" + code + ".dll";
        const QStringList entries = readEntries(path);
        ASSERT_EQ(entries.size(), 72) << code.toStdString();

        ChecksRig rig;
        rig.env.fake.dataFolderPath = shippedFolder();
        rig.main.vars.sensmicro = 1;
        Program p(rig.main);
        p.LanguageAPI(code, 99);
        EXPECT_EQ(rig.main.formCaptions.value(frmAbout::lblDescription), entries[71]);
        EXPECT_GT(entries[71].size(), 100);
        EXPECT_TRUE(p.acctoon.endsWith("(Hertz): ")) << "status caption with its trailing blank";
        EXPECT_EQ(p.microphonetxt.count(','), 1);
        EXPECT_TRUE(p.microphonetxt.endsWith(":"));
        for (int mode = 1; mode <= 9; ++mode)
            EXPECT_TRUE(p.rd[mode].endsWith('.') && p.rd[mode].count(' ') >= 5) << code.toStdString() << mode;
        EXPECT_FALSE(p.rdbtn1.isEmpty() || p.rdbtn2.isEmpty() || p.rdbtn1 == p.rdbtn2);
        EXPECT_TRUE(p.updatevertxt.endsWith(": ") && p.updatenewvertxt.endsWith(": "));
    }
}

TEST(ShippedLanguageFiles, EnglishKeepsTheDesignTextsAndDutchTranslatesThem) {
    const QStringList english = readEntries(shippedFolder() + "/lng_en.dll");
    const QStringList dutch = readEntries(shippedFolder() + "/lng_nl.dll");
    ASSERT_EQ(english.size(), 72);
    ASSERT_EQ(dutch.size(), 72);
    for (int n = 4; n <= 47; ++n) {
        const QString design = kDesignTexts[n - 4];
        if (design.isNull()) continue;
        EXPECT_EQ(english[n - 1], design) << "entry " << n;
        EXPECT_NE(dutch[n - 1], design) << "entry " << n;
    }
    EXPECT_EQ(english[55] + ", " + english[56], "Microphone input, sensitivity:");
}

} // namespace tonara::test
