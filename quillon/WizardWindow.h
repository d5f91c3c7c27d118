#pragma once
// What Quillon's four windows share: the wizard they belong to, load steps
// that run once, named controls, and closing that ends the program.

#include "DesignName.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace tonara::quillon {

class Wizard;

class WizardWindow : public QWidget {
    Q_OBJECT
public:
    WizardWindow(Wizard& wizard, const char* name);

protected:
    // Closing any of the windows stops the tone and ends the program.
    void closeEvent(QCloseEvent* event) override;
    // True only the first time: each window's load steps run once.
    bool firstLoad();

    template <auto W> static QLabel* makeLabel(DesignName<W> name, QWidget* parent) {
        auto* label = new QLabel(parent);
        label->setObjectName(name);
        return label;
    }
    template <auto W> static QPushButton* makeButton(DesignName<W> name, QWidget* parent) {
        auto* button = new QPushButton(parent);
        button->setObjectName(name);
        return button;
    }

    Wizard& wizard_;

private:
    bool loaded_ = false;
};

} // namespace tonara::quillon
