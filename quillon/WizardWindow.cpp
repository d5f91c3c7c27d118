#include "WizardWindow.h"
#include "Wizard.h"

#include <QCloseEvent>

namespace tonara::quillon {

WizardWindow::WizardWindow(Wizard& wizard, const char* name) : QWidget(nullptr, Qt::Window), wizard_(wizard) {
    setObjectName(name);
}

void WizardWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    wizard_.end();
}

bool WizardWindow::firstLoad() {
    if (loaded_) return false;
    loaded_ = true;
    return true;
}

QLabel* WizardWindow::makeLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

QPushButton* WizardWindow::makeButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    return button;
}

} // namespace tonara::quillon
