// The logic finds controls by their design names: every name a window's
// list holds must be one of its real controls.

#include "AllWindows.h"
#include "DesignNames.h"

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

TEST(DesignNames, EveryNameOfEachWindowsListIsOneOfItsControls) {
    const struct {
        Form form;
        const char* window; // its row in AllWindows
    } cases[] = {{Form::Form1, "main"}, {Form::Form2, "pitch help"}, {Form::Form4, "Morse"}, {Form::frmAbout, "about"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        const auto row = std::find_if(allWindows().begin(), allWindows().end(),
                                      [&](const WindowCase& w) { return QString(w.name) == c.window; });
        ASSERT_NE(row, allWindows().end());
        ASSERT_FALSE(designNames(c.form).isEmpty());
        OpenedWindows opened;
        QWidget* window = row->open(opened);
        ASSERT_NE(window, nullptr);
        for (const QString& name : designNames(c.form))
            EXPECT_NE(window->findChild<QObject*>(name), nullptr) << name.toStdString() << " is not in the window";
    }
}

} // namespace
} // namespace tonara::test
