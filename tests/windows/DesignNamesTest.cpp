// Each window's list of design names against the window itself, both ways:
// every name in the list is one of its controls, and every control of the
// window that has a name is in its list, so no control goes unlisted.

#include "AllWindows.h"
#include "DesignNames.h"
#include "GeneratorNames.h"
#include "OutputVolumeWindow.h"
#include "QuillonNames.h"
#include "ThresholdWindow.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>
#include <memory>

namespace tonara::test {
namespace {

// The named widgets and actions that belong to the window itself: not those
// of a window it holds (a menu's popup is the main window's own), nor Qt's
// inner parts (their names start with qt_; layouts are no controls).
QStringList namedControls(QWidget* window) {
    QStringList names;
    for (QObject* o : window->findChildren<QObject*>()) {
        const QString name = o->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        if (!qobject_cast<QWidget*>(o) && !qobject_cast<QAction*>(o)) continue;
        bool elsewhere = false;
        for (QObject* up = o; up && up != window; up = up->parent()) {
            const auto* w = qobject_cast<const QWidget*>(up);
            if (w && w->isWindow() && !qobject_cast<const QMenu*>(w)) elsewhere = true;
        }
        if (!elsewhere) names << name;
    }
    return names;
}

struct NamedWindow {
    const char* window; // its row in AllWindows, or one of Quillon's own below
    QStringList names;
};

QWidget* openWindow(const char* name, OpenedWindows& opened, std::unique_ptr<QWidget>& own) {
    if (QString(name) == "Quillon threshold") {
        opened.wizard();
        own = std::make_unique<quillon::ThresholdWindow>(1u, false);
        return own.get();
    }
    if (QString(name) == "Quillon output volume") {
        opened.wizard();
        own = std::make_unique<quillon::OutputVolumeWindow>(false);
        return own.get();
    }
    const auto row = std::find_if(allWindows().begin(), allWindows().end(),
                                  [&](const WindowCase& w) { return QString(w.name) == name; });
    return row == allWindows().end() ? nullptr : row->open(opened);
}

TEST(DesignNames, EachWindowsListHoldsExactlyItsNamedControls) {
    const NamedWindow cases[] = {
        {"main", designNames(Form::Form1)},
        {"pitch help", designNames(Form::Form2)},
        {"news", designNames(Form::Form3)},
        {"Morse", designNames(Form::Form4)},
        {"agreement", designNames(Form::Form5)},
        {"error", designNames(Form::Form6)},
        {"update", designNames(Form::Form7)},
        {"splash", designNames(Form::Form8)},
        {"player", designNames(Form::Form9)},
        {"about", designNames(Form::frmAbout)},
        {"signal generator", texts(generatorWindow::all)},
        {"Quillon volume", texts(quillonVolume::all)},
        {"Quillon age", texts(quillonAge::all)},
        {"Quillon test", texts(quillonTest::all)},
        {"Quillon result", texts(quillonResult::all)},
        {"Quillon threshold", texts(quillonThreshold::all)},
        {"Quillon output volume", texts(quillonOutput::all)},
    };
    for (const NamedWindow& c : cases) {
        SCOPED_TRACE(c.window);
        OpenedWindows opened;
        std::unique_ptr<QWidget> own;
        QWidget* window = openWindow(c.window, opened, own);
        ASSERT_NE(window, nullptr);
        ASSERT_FALSE(c.names.isEmpty());
        const QStringList controls = namedControls(window);
        for (const QString& name : c.names)
            EXPECT_TRUE(controls.contains(name)) << name.toStdString() << " is not in the window";
        for (const QString& name : controls)
            EXPECT_TRUE(c.names.contains(name)) << name.toStdString() << " is not in the window's list";
        EXPECT_EQ(QSet<QString>(controls.begin(), controls.end()).size(), controls.size())
            << "two controls of one name";
    }
}

} // namespace
} // namespace tonara::test
