// What quillon.ini asks for, and that it is taken: read once and deleted.
#include "HandOver.h"
#include "TempFolders.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tonara::test {
using namespace tonara::quillon;

TEST(HandOver, ServedModesAndLanguages) {
    struct Case {
        const char* file;
        const char* mode; // nullptr: Quillon ends
        const char* language;
    };
    const Case cases[] = {
        {"16\r\nen\r\n", "16", "en"},
        {"32\r\nnl\r\n", "32", "nl"},
        {"128\r\nnl\r\n", "256", "nl"},
        {"256\r\nen\r\n", "256", "en"},
        {"256\nen\n", "256", "en"},                 // LF line ends read as well
        {"256,en,more,fields\r\n", "256", "en"},    // fields end at commas too
        {"64\r\nen\r\n", nullptr, nullptr},         // the second output stream is not Quillon's
        {"256\r\nfr\r\n", nullptr, nullptr},
        {"256\r\nEN\r\n", nullptr, nullptr},
        {"256\r\n", nullptr, nullptr},              // no language
        {"", nullptr, nullptr},
        {" 256\r\n en\r\n", "256", "en"},           // leading blanks of a field are skipped
        {"\"256\"\r\n\"en\"\r\n", "256", "en"},
    };
    for (const Case& c : cases) {
        TestEnvironment env;
        writeBytes(handOverFile(), c.file);
        const std::optional<HandOver> got = takeHandOver();
        EXPECT_FALSE(QFile::exists(env.temp("quillon.ini"))) << c.file;
        if (!c.mode) {
            EXPECT_FALSE(got.has_value()) << c.file;
            continue;
        }
        ASSERT_TRUE(got.has_value()) << c.file;
        EXPECT_EQ(got->mode, c.mode) << c.file;
        EXPECT_EQ(got->language, c.language) << c.file;
    }
}

TEST(HandOver, WithoutAFileEnglishAndThePlayer) {
    TestEnvironment env;
    const std::optional<HandOver> got = takeHandOver();
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->mode, "256");
    EXPECT_EQ(got->language, "en");
    EXPECT_FALSE(got->dutch());
}

} // namespace tonara::test
