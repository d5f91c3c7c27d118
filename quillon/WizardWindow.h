#pragma once
// What Quillon's four windows share: the wizard they belong to, load steps
// that run once, named controls, and closing that ends the program.

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

    QLabel* makeLabel(const char* name, QWidget* parent);
    QPushButton* makeButton(const char* name, QWidget* parent);

    Wizard& wizard_;

private:
    bool loaded_ = false;
};

} // namespace tonara::quillon
