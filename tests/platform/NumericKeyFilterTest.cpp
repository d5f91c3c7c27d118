// The number boxes' key filter, as typed into a real line edit.
#include "NumericKeyFilter.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace tonara::test {

TEST(NumericKeyFilter, PassesACharacterOnlyWhenTheTextStillReadsAsANumber) {
    struct Case {
        const char* boxText;
        const char* typed;
        bool passes;
    };
    const Case cases[] = {
        {"", "7", true},    {"12", "3", true},   {"12", ".", true},  {"1.", "5", true}, {"", "-", false},
        {"12", "a", false}, {"1.5", ".", false}, {"", " ", false},   {"7", "e", false}, {"abc", "\b", true},
        {"", "\b", true},   {"12", "\x16", false}, // Ctrl+V arrives as a control character
    };
    for (const Case& c : cases)
        EXPECT_EQ(numericKeyPasses(c.boxText, c.typed), c.passes) << '"' << c.boxText << "\" + \"" << c.typed << '"';
}

TEST(NumericKeyFilter, DiscardsLettersAndKeepsBackspaceInALineEdit) {
    QLineEdit box;
    installNumericKeyFilter(&box);
    QTest::keyClicks(&box, "4a0x0");
    EXPECT_EQ(box.text(), "400");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "40");
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.text(), "40") << "a paste adds no typed character";
    EXPECT_EQ(box.contextMenuPolicy(), Qt::NoContextMenu);
}

} // namespace tonara::test
