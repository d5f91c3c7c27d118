#include "AgeWindow.h"
#include "AgeEntry.h"
#include "NumericKeyFilter.h"
#include "Platform.h"
#include "QuillonNames.h"
#include "QuillonTrap.h"
#include "Wizard.h"

#include <QGridLayout>
#include <QLineEdit>

namespace tonara::quillon {

Form4::Form4(Wizard& wizard) : WizardWindow(wizard, "Form4") {
    label1_ = makeLabel(quillonAge::Label1, this);
    text1_ = new QLineEdit(this);
    text1_->setObjectName(quillonAge::Text1);
    installNumericKeyFilter(text1_);
    label1_->setBuddy(text1_);
    command1_ = makeButton(quillonAge::Command1, this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label1_, 0, 0);
    layout->addWidget(text1_, 0, 1);
    layout->addWidget(command1_, 1, 1, Qt::AlignRight);
    setMinimumWidth(300); // wider when a larger font needs it
    applyTexts(wizardTexts(false));

    connect(command1_, &QPushButton::clicked, this, &Form4::continueClicked);
    connect(text1_, &QLineEdit::returnPressed, this, &Form4::continueClicked);
}

void Form4::applyTexts(const WizardTexts& texts) {
    setWindowTitle(texts.ageCaption);
    label1_->setText(texts.ageLabel);
    command1_->setText(texts.continueButton);
}

void Form4::loadHandler() {
    if (!firstLoad()) return;
    if (wizard_.dutch()) applyTexts(wizard_.texts());
}

void Form4::continueClicked() {
    trapped([&] {
        const std::optional<qint16> age = ageFromText(text1_->text());
        if (!age) {
            platform().messageBox(wizard_.texts().invalidAge, wizard_.texts().invalidAgeTitle, MessageIcon::Critical,
                                  MessageButtons::Ok);
            return;
        }
        hide();
        wizard_.ageAccepted(*age);
    });
}

} // namespace tonara::quillon
