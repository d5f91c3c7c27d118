// Escape in a window opened from the main window gives the focus back to
// the control that opened it, not to the first control that takes focus.
#include "AppRig.h"

#include <QAbstractButton>
#include <QTest>

namespace tonara::test {
namespace {

TEST(FocusReturn, EscapeInAWindowGivesTheFocusBackToTheControlThatOpenedIt) {
    const struct {
        MainControl mode;
        MainControl opener;
        const char* window;
    } cases[] = {{form1::Option7, form1::Command1, "Form2"}, {form1::Option8, form1::Command2, "Form4"}};
    for (const auto& c : cases) {
        AppRig rig;
        rig.writeSettings(validSettings());
        rig.form->start();
        Form1& main = *rig.form;
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        main.findChild<QAbstractButton*>(c.mode)->click();
        auto* opener = main.findChild<QAbstractButton*>(c.opener);
        ASSERT_TRUE(opener->isEnabled()) << c.opener.name();
        opener->setFocus();
        QTest::keyClick(opener, Qt::Key_Space);
        QWidget* window = rig.window<QWidget>(c.window);
        ASSERT_NE(window, nullptr) << c.window;
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window)) << c.window;
        QWidget* inside = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(inside, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible()) << c.window << " stays open";
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == opener; }, 1000))
            << c.window << ": the focus is on "
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "nothing");
    }
}

} // namespace
} // namespace tonara::test
