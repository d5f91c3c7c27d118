#include "WindowAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QLayout>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tonara {

namespace {

constexpr char kDecoration[] = "tonaraDecoration";

// A plain widget as Qt presents it, but a window is a window, and
// decoration among its children is passed over.
class PlainWidgetInterface : public QAccessibleWidget {
public:
    explicit PlainWidgetInterface(QWidget* widget)
        : QAccessibleWidget(widget, widget->isWindow() ? QAccessible::Window : QAccessible::Client) {}

    int childCount() const override { return int(presentedChildren().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = presentedChildren();
        if (index < 0 || index >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        return int(presentedChildren().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    // Qt's own rule (no windows, no menus, not a spin box's editor) less decoration.
    QList<QWidget*> presentedChildren() const {
        QList<QWidget*> presented;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow() || qobject_cast<QMenu*>(w) || isDecoration(w)) continue;
            if (w->objectName() == QLatin1String("qt_spinbox_lineedit")) continue;
            presented << w;
        }
        return presented;
    }
};

// Consulted before Qt's own factory at every class of an object's
// ancestry; at "QWidget" nothing more particular has answered.
QAccessibleInterface* plainWidgets(const QString& className, QObject* object) {
    if (className != QLatin1String("QWidget") || !object || !object->isWidgetType()) return nullptr;
    return new PlainWidgetInterface(static_cast<QWidget*>(object));
}

// A window that closes gives the focus back to the control that had it
// when the window opened (Qt would give it to the first control that takes
// focus, or to none).
class FocusReturn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show && event->type() != QEvent::Hide) return false;
        if (!watched->isWidgetType()) return false;
        auto* window = static_cast<QWidget*>(watched);
        if (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog) return false;
        if (event->type() == QEvent::Show) {
            QWidget* focus = QApplication::focusWidget();
            if (focus && focus->window() != window) focusBefore_.insert(window, focus);
        } else if (const QPointer<QWidget> focus = focusBefore_.take(window);
                   focus && focus->isVisible() && focus->isEnabled()) {
            focus->window()->activateWindow();
            focus->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }

private:
    QHash<const QWidget*, QPointer<QWidget>> focusBefore_;
};

// A window that opens partly off the screen (placed below its parent, say)
// is moved onto it, as far as it fits.
class OnScreen : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* window = static_cast<QWidget*>(watched);
        if (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog) return false;
        const QScreen* screen = window->screen();
        if (!screen) return false;
        const QRect room = screen->availableGeometry();
        const QRect frame = window->frameGeometry();
        if (room.contains(frame)) return false;
        const int x = std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width()));
        const int y = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height()));
        window->move(window->pos() + QPoint(x, y) - frame.topLeft());
        return false;
    }
};

// Qt gives a window the least height of its layout at its widest, so a
// window made narrower cut off its wrapped texts (the about box, the
// agreement): it now grows to the height its texts need at its width.
class WrappedTextRoom : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Resize || !watched->isWidgetType()) return false;
        auto* window = static_cast<QWidget*>(watched);
        QLayout* layout = window->isWindow() ? window->layout() : nullptr;
        if (!layout || !layout->hasHeightForWidth()) return false;
        const int needed = layout->totalHeightForWidth(window->width());
        if (needed > window->height() && needed <= window->maximumHeight()) window->resize(window->width(), needed);
        return false;
    }
};

} // namespace

void installWindowAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(plainWidgets);
        qApp->installEventFilter(new FocusReturn(qApp));
        qApp->installEventFilter(new OnScreen(qApp));
        qApp->installEventFilter(new WrappedTextRoom(qApp));
        return true;
    }();
    (void)installed;
}

void markDecoration(QWidget* widget) { widget->setProperty(kDecoration, true); }

bool isDecoration(const QWidget* widget) { return widget->property(kDecoration).toBool(); }

} // namespace tonara
