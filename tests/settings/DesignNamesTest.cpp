// The fake main window knows each window's design and refuses other names:
// the tables make only real ones, so these are made by hand.
#include "DesignNames.h"
#include "FakeMainWindow.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace tonara::test {

TEST(DesignNames, TheFakeMainWindowFailsATestThatNamesAControlNoWindowHas) {
    FakeMainWindow window;
    EXPECT_NONFATAL_FAILURE(window.setCaption(MainControl("Lable1"), "x"), "Form1 has no control named \"Lable1\"");
    EXPECT_NONFATAL_FAILURE(window.setChecked(MainControl("englisch"), true),
                            "Form1 has no control named \"englisch\"");
    EXPECT_NONFATAL_FAILURE(window.isEnabled(MainControl("Option10")), "Form1 has no control named \"Option10\"");
    // Names are per window: the pitch help has no Label1, the about box no Command1.
    EXPECT_NONFATAL_FAILURE(window.setFormCaption(form2::Name("Label1"), "x"), "Form2 has no control named");
    EXPECT_NONFATAL_FAILURE(window.setFormCaption(frmAbout::Name("Command1"), "x"), "frmAbout has no control named");

    window.setCaption(form1::Label10, " 1000");
    window.setFormCaption(form4::Text1, "");
    window.setFormCaption(frmAbout::lblDescription, "x");
    EXPECT_EQ(window.caption(form1::Label10), " 1000");
}

TEST(DesignNames, EachWindowHasItsOwnList) {
    EXPECT_TRUE(isDesignName(Form::Form1, "microinputonoff"));
    EXPECT_TRUE(isDesignName(Form::Form1, "StatusBar1"));
    EXPECT_FALSE(isDesignName(Form::Form1, "Label4")) << "the main window's labels skip 4";
    EXPECT_EQ(designNames(Form::Form2).size(), 12);
    EXPECT_TRUE(isDesignName(Form::Form4, "Line2"));
    EXPECT_TRUE(isDesignName(Form::frmAbout, "cmdSysInfo"));
    EXPECT_FALSE(isDesignName(Form::Form6, "Label2"));
}

// Each constant is its own name, and the window's list holds it once.
TEST(DesignNames, EachConstantNamesItselfAndEachListHoldsANameOnce) {
    static_assert(std::string_view(form1::Option3.name()) == "Option3");
    static_assert(std::string_view(form1::fileAction.name()) == "fileAction");
    static_assert(form1::kOptions[6] == form1::Option7);
    static_assert(FormControl(form4::Text1).form == Form::Form4);
    for (Form form : {Form::Form1, Form::Form2, Form::Form3, Form::Form4, Form::Form5, Form::Form6, Form::Form7,
                      Form::Form8, Form::Form9, Form::frmAbout}) {
        const QStringList& names = designNames(form);
        SCOPED_TRACE(formName(form).toStdString());
        EXPECT_FALSE(names.isEmpty());
        EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
    }
}

} // namespace tonara::test
