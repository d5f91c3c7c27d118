#pragma once
// A control's name in its window's design, typed by its window: the logic,
// the windows and the tests name controls only through the constants each
// window's table makes, so a misspelt name, or another window's, does not
// compile. Each table also makes the window's list of all its names.

#include <QHashFunctions>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <string_view>

namespace tonara {

// Tonara's windows as the logic addresses them.
enum class Form { Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8, Form9, frmAbout };

// Windows that only their own code addresses by control.
enum class Window { Generator, QuillonVolume, QuillonAge, QuillonTest, QuillonResult, QuillonThreshold, QuillonOutput };

template <auto TheWindow>
class DesignName {
public:
    static constexpr auto window = TheWindow;

    // Explicit, so no string turns into a name unnoticed: the tables make them.
    constexpr explicit DesignName(const char* name) : name_(name) {}

    constexpr const char* name() const { return name_; }
    QString text() const { return QString::fromLatin1(name_); }
    // Where Qt wants a name: findChild, setObjectName.
    operator QString() const { return text(); }

    friend constexpr bool operator==(DesignName a, DesignName b) {
        return std::string_view(a.name_) == std::string_view(b.name_);
    }
    friend constexpr bool operator<(DesignName a, DesignName b) {
        return std::string_view(a.name_) < std::string_view(b.name_);
    }
    friend size_t qHash(DesignName n, size_t seed = 0) { return qHash(QLatin1StringView(n.name_), seed); }

private:
    const char* name_;
};

// The main window's controls and menu items.
using MainControl = DesignName<Form::Form1>;

// A control of any of Tonara's windows, with its window.
struct FormControl {
    template <Form F>
    constexpr FormControl(DesignName<F> control) : form(F), name(control.name()) {}

    Form form;
    const char* name;

    QString text() const { return QString::fromLatin1(name); }
    friend bool operator==(const FormControl& a, const FormControl& b) {
        return a.form == b.form && std::string_view(a.name) == std::string_view(b.name);
    }
    friend bool operator<(const FormControl& a, const FormControl& b) {
        if (a.form != b.form) return a.form < b.form;
        return std::string_view(a.name) < std::string_view(b.name);
    }
};

template <auto W, std::size_t N>
QStringList texts(const DesignName<W> (&names)[N]) {
    QStringList list;
    for (const DesignName<W>& n : names) list << n.text();
    return list;
}

} // namespace tonara

// A window's table lists its names once, as LIST(NAME, MENU): NAME(n) a
// control, MENU(n) a menu, whose action is n##Action. Inside the window's
// namespace, with `Name` its DesignName, TONARA_DESIGN_NAMES(LIST) makes a
// constant for each and `all`, the window's whole list in table order.
#define TONARA_NAME_CONSTANT(n) inline constexpr Name n{#n};
#define TONARA_MENU_CONSTANTS(n) inline constexpr Name n{#n}, n##Action{#n "Action"};
#define TONARA_NAME_ENTRY(n) n,
#define TONARA_MENU_ENTRIES(n) n, n##Action,
#define TONARA_DESIGN_NAMES(LIST)                                                                                      \
    LIST(TONARA_NAME_CONSTANT, TONARA_MENU_CONSTANTS)                                                                  \
    inline constexpr Name all[] = {LIST(TONARA_NAME_ENTRY, TONARA_MENU_ENTRIES)};
