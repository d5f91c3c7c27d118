// What a screen reader finds in every window: a window (AT-SPI "frame") or
// a dialog with a title, every control named, no decoration, nothing left out.
#include "AllWindows.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>

namespace tonara::test {
namespace {

bool isControl(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::ScrollBar:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::ProgressBar:
    case QAccessible::ButtonMenu:
    case QAccessible::Graphic:
        return true;
    default:
        return false;
    }
}

// The walk's findings, with where each was met.
struct Walk {
    QStringList faults;
    QSet<QObject*> reached;

    void visit(QAccessibleInterface* node, const QString& path) {
        if (!node) {
            faults << path + ": a child without an interface";
            return;
        }
        reached.insert(node->object());
        if (node->state().invisible) return;
        const QString name = node->text(QAccessible::Name);
        const QString where = path + "/" + (node->object() ? node->object()->objectName() : QString("?"));
        const QAccessible::Role role = node->role();
        if (isControl(role) && name.trimmed().isEmpty()) faults << where + ": a control without a name";
        if (role == QAccessible::Border || role == QAccessible::Separator)
            faults << where + ": decoration in the tree";
        // A scroll area's viewport is Qt's own part of a text view.
        const bool viewport = node->object() && node->object()->objectName() == "qt_scrollarea_viewport";
        if (role == QAccessible::Client && node->childCount() == 0 && name.isEmpty() && !viewport)
            faults << where + ": an unnamed, empty filler";
        for (int i = 0; i < node->childCount(); ++i) visit(node->child(i), where);
    }
};

bool isNamedControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) ||
           (qobject_cast<const QLineEdit*>(w) && w->objectName() != "qt_spinbox_lineedit");
}

class AccessibilityTree : public ::testing::TestWithParam<WindowCase> {};

TEST_P(AccessibilityTree, IsAWindowWithEveryControlNamedAndNoDecoration) {
    OpenedWindows opened;
    QWidget* window = GetParam().open(opened);
    ASSERT_NE(window, nullptr);
    settle(window);
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(window);
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top->role() == QAccessible::Window || top->role() == QAccessible::Dialog)
        << "role " << int(top->role()) << " (Qt's Client is announced as a filler)";
    EXPECT_FALSE(top->text(QAccessible::Name).isEmpty()) << "a window without a title";

    Walk walk;
    for (int i = 0; i < top->childCount(); ++i) walk.visit(top->child(i), window->objectName());
    EXPECT_TRUE(walk.faults.isEmpty()) << walk.faults.join("\n").toStdString();
    // Every control a user can reach is in the tree.
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != window || !isNamedControl(w)) continue;
        EXPECT_TRUE(walk.reached.contains(w)) << w->objectName().toStdString() << " is missing from the tree";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, AccessibilityTree, ::testing::ValuesIn(allWindows()),
                         [](const auto& test) {
                             QString name = test.param.name;
                             return name.remove(' ').toStdString();
                         });

TEST(AccessibilityNames, TheSensitivityButtonsKeepTheirCaptionsAndSayWhatTheyDo) {
    const struct {
        MainControl control;
        const char* caption;
        const char* english;
        const char* dutch;
    } buttons[] = {{form1::Command4, "+", "Raise sensitivity", "Gevoeligheid verhogen"},
                   {form1::Command5, "-", "Lower sensitivity", "Gevoeligheid verlagen"}};
    for (const char* language : {"EN", "NL"}) {
        AppRig started;
        started.writeSettings(validSettings("128", language));
        started.form->start();
        for (const auto& b : buttons) {
            auto* button = started.form->findChild<QAbstractButton*>(b.control);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), b.caption);
            EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
                      QString(language) == "NL" ? b.dutch : b.english);
        }
    }
}

} // namespace
} // namespace tonara::test
