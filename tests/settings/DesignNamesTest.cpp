// The fake main window knows each window's design and refuses other names.
#include "DesignNames.h"
#include "FakeMainWindow.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace tonara::test {

TEST(DesignNames, TheFakeMainWindowFailsATestThatNamesAControlNoWindowHas) {
    FakeMainWindow window;
    EXPECT_NONFATAL_FAILURE(window.setCaption("Lable1", "x"), "Form1 has no control named \"Lable1\"");
    EXPECT_NONFATAL_FAILURE(window.setChecked("englisch", true), "Form1 has no control named \"englisch\"");
    EXPECT_NONFATAL_FAILURE(window.isEnabled("Option10"), "Form1 has no control named \"Option10\"");
    // Names are per window: the pitch help has no Label1, the about box no Command1.
    EXPECT_NONFATAL_FAILURE(window.setFormCaption(Form::Form2, "Label1", "x"), "Form2 has no control named");
    EXPECT_NONFATAL_FAILURE(window.setFormCaption(Form::frmAbout, "Command1", "x"), "frmAbout has no control named");

    window.setCaption("Label10", " 1000");
    window.setFormCaption(Form::Form4, "Text1", "");
    window.setFormCaption(Form::frmAbout, "lblDescription", "x");
    EXPECT_EQ(window.caption("Label10"), " 1000");
}

TEST(DesignNames, EachWindowHasItsOwnList) {
    EXPECT_TRUE(isDesignName(Form::Form1, "microinputonoff"));
    EXPECT_TRUE(isDesignName(Form::Form1, "StatusBar1"));
    EXPECT_FALSE(isDesignName(Form::Form1, "Label4")) << "the main window's labels skip 4";
    EXPECT_EQ(designNames(Form::Form2).size(), 9);
    EXPECT_TRUE(isDesignName(Form::Form4, "Line2"));
    EXPECT_TRUE(isDesignName(Form::frmAbout, "cmdSysInfo"));
    EXPECT_TRUE(designNames(Form::Form6).isEmpty());
}

} // namespace tonara::test
