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

} // namespace tonara::quillon
