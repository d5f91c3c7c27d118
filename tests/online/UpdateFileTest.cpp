// The update-information file's rules and the upload name, without windows.
#include "QtPrinters.h"
#include "UpdateFile.h"
#include "UploadName.h"

#include <gtest/gtest.h>

namespace tonara::test {

TEST(UpdateFile, TheFirstLineAnnouncesAVersionAndOnlyAHigherOneIsNewer) {
    struct Case {
        const char* line;
        double value;
        const char* text;
    };
    for (const Case c : {Case{"237", 237, "2.3.7"}, Case{"1000", 1000, "1.0.0"}, Case{"236", 236, "2.3.6"},
                         Case{"2.3.7", 2.3, "2...3"}, Case{"", 0, ".."}, Case{"  2 3 8", 238, " . .2"},
                         Case{"240abc", 240, "2.4.0"}, Case{"x237", 0, "x.2.3"}, Case{"24", 24, "2.4."}}) {
        EXPECT_DOUBLE_EQ(announcedVersion(c.line), c.value) << c.line;
        EXPECT_EQ(versionText(c.line), c.text) << c.line;
        EXPECT_EQ(announcedVersion(c.line) > kThisVersion, c.value > 236) << c.line;
    }
    EXPECT_EQ(kThisVersionText, "2.3.6");
}

TEST(UpdateFile, LinesAreReadWholeAndANinthLineRejectsTheFile) {
    const UpdateFile plain = readUpdateFile("237\r\nhttp://host/get,now?a=1\r\n");
    EXPECT_EQ(plain.lines, (QStringList{"237", "http://host/get,now?a=1"})) << "commas stay in the line";
    EXPECT_FALSE(plain.rejected);

    EXPECT_EQ(readUpdateFile("237\nlink\n").lines, (QStringList{"237", "link"})) << "LF alone ends a line";
    EXPECT_EQ(readUpdateFile("237\rlink").lines, (QStringList{"237", "link"})) << "CR alone ends a line";
    EXPECT_EQ(readUpdateFile("\r\n\r\n").lines, (QStringList{"", ""}));
    EXPECT_TRUE(readUpdateFile("").lines.isEmpty());

    QByteArray eight;
    for (int n = 1; n <= 8; ++n) eight += QByteArray::number(n) + "\r\n";
    EXPECT_FALSE(readUpdateFile(eight).rejected);
    EXPECT_EQ(readUpdateFile(eight).lines.size(), 8);
    EXPECT_TRUE(readUpdateFile(eight + "9").rejected) << "a ninth line without a line end counts";
    EXPECT_TRUE(readUpdateFile(eight + "9\r\n10\r\n").rejected);
    EXPECT_TRUE(readUpdateFile(eight + "\r\n").rejected) << "an empty ninth line counts";
}

TEST(UploadName, TheNumberRunsFromOneTo42067) {
    const auto at = [](int day, int hour, int minute, int second) {
        return QDateTime(QDate(2026, 1, day), QTime(hour, minute, second));
    };
    struct Case {
        double r;
        QDateTime when;
        qint32 number;
    };
    for (const Case& c : {Case{0.999, at(8, 0, 15, 30), 1}, Case{0.999, at(8, 10, 15, 0), 1},
                          Case{0.0, at(31, 23, 59, 59), 1}, Case{0.5, at(20, 10, 0, 30), 3001},
                          Case{0.9999999, at(31, 23, 0, 59), 42067}, Case{0.25, at(1, 1, 0, 3), 1}})
        EXPECT_EQ(uploadNumber(c.r, c.when), c.number) << c.r << " " << c.when.toString().toStdString();
}

} // namespace tonara::test
