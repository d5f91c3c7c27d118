#include "Folders.h"
#include "RuntimeError.h"
#include "TempFolders.h"
#include "TextFile.h"

#include <gtest/gtest.h>

namespace tonara::test {
using tonara::test::TestEnvironment;

TEST(EntryReading, CommasQuotesBlanksAndEmptyLines) {
    EntryReader r = EntryReader::fromBytes("  a,b\r\n\r\n\"x, y\" tail,z\nlast");
    QStringList got;
    while (!r.atEnd()) got << r.next();
    EXPECT_EQ(got, (QStringList{"a", "b", "", "x, y", "z", "last"}));
    // The trailing blank of a quoted entry survives; an unquoted one's leading blanks do not.
    EntryReader q = EntryReader::fromBytes("\"Actual pitch (Hertz): \"\r\n   lead\r\n");
    EXPECT_EQ(q.next(), "Actual pitch (Hertz): ");
    EXPECT_EQ(q.next(), "lead");
    EXPECT_TRUE(q.atEnd());
    try {
        q.next();
        FAIL() << "reading past the end must fail";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::InputPastEnd);
    }
}

TEST(TextFiles, WrittenWithCrLfInWindows1252AndReadBack) {
    TestEnvironment env;
    const QString path = env.temp("t.txt");
    writeLines(path, {"caf\u00e9 \u20ac", "", "two"});
    EXPECT_EQ(test::fileBytes(path), QByteArray("caf\xe9 \x80\r\n\r\ntwo\r\n"));
    EXPECT_EQ(readEntries(path), (QStringList{"caf\u00e9 \u20ac", "", "two"}));
}

TEST(TextFiles, FailuresCarryThePlatformsNumbers) {
    TestEnvironment env;
    auto numberOf = [](auto&& f) {
        try {
            f();
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf([&] { writeLines(env.temp("missing/x.txt"), {"a"}); }), err::PathNotFound);
    EXPECT_EQ(numberOf([&] { EntryReader r(env.temp("none.txt")); }), err::FileNotFound);
    EXPECT_EQ(numberOf([&] { deleteFile(env.temp("none.txt")); }), err::FileNotFound);
    EXPECT_NO_THROW(deleteIfExists(env.temp("none.txt")));
}

} // namespace tonara::test
