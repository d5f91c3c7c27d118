#include "Form1.h"
#include "SineIcon.h"

namespace tonara {

Form1::Form1() {
    setObjectName("Form1");
    setWindowTitle("Tonara");
    setWindowIcon(QIcon(sineIcon(64, 64)));
    buildMenus();
    buildLayout();
    buildKeyboard();
}

Form1::~Form1() {
    for (auto& [form, window] : forms_) delete window.data();
}

} // namespace tonara
