#include "Form1.h"
#include "Platform.h"
#include "SineIcon.h"

#include <QSpinBox>
#include <cmath>

namespace tonara {

Form1::Form1() {
    setObjectName("Form1");
    setWindowTitle("Tonara");
    setWindowIcon(QIcon(sineIcon(64, 64)));
    buildMenus();
    buildLayout();
    buildKeyboard();
    if (volume_->value() != 0) platform().setOutputVolume(std::pow(10.0, volume_->value() / 20.0));
}

Form1::~Form1() {
    for (auto& [form, window] : forms_) delete window.data();
}

} // namespace tonara
