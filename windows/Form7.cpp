#include "Form7.h"

#include "ErrorLocations.h"
#include "FormNames.h"
#include "Platform.h"
#include "Program.h"
#include "Trap.h"
#include "WebAddresses.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tonara {

Form7::Form7(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("Form7");
    setWindowTitle("Update found");
    setAccessibleName(windowTitle());
    label1_ = new QLabel("An update is found! Would you like to download the update?", this);
    label1_->setObjectName(form7::Label1);
    label1_->setWordWrap(true);
    list1_ = new QListWidget(this);
    list1_->setObjectName(form7::List1);
    list1_->setAccessibleName("Versions");
    command1_ = new QPushButton("Update", this);
    command1_->setObjectName(form7::Command1);
    command2_ = new QPushButton("Don't update", this);
    command2_->setObjectName(form7::Command2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(list1_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    layout->addLayout(buttons);
    resize(420, 220);

    connect(command1_, &QPushButton::clicked, this, &Form7::updateClicked);
    connect(command2_, &QPushButton::clicked, this, &Form7::dontUpdateClicked);
}

void Form7::fill(const UpdateOffer& offer) {
    const auto keepDesign = [](const QString& text, const QString& design) { return text.isEmpty() ? design : text; };
    setWindowTitle(keepDesign(offer.caption, windowTitle()));
    setAccessibleName(windowTitle());
    label1_->setText(keepDesign(offer.message, label1_->text()));
    command1_->setText(keepDesign(offer.updateButton, command1_->text()));
    command2_->setText(keepDesign(offer.dontUpdateButton, command2_->text()));
    list1_->addItems(offer.lines);
    Link = offer.link;
}

// The link comes from an unencrypted download: it is only ever handed to the
// desktop's browser, and only when it is a web address. One that is not is
// refused in words, and the start-up goes on as after "Don't update".
void Form7::updateClicked() {
    trapped(mainWindow_, errol::UpdateClicked, [&] {
        if (isWebAddress(Link)) {
            platform().openUrl(Link);
            platform().endProgram(0);
        }
        Program(mainWindow_).PrintFile("> Update error");
        platform().messageBox("This link cannot be opened: " + Link, windowTitle(), MessageIcon::Exclamation,
                              MessageButtons::Ok);
        hide();
    });
}

void Form7::dontUpdateClicked() {
    trapped(mainWindow_, errol::DontUpdateClicked, [&] { hide(); });
}

} // namespace tonara
