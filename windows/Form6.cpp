#include "Form6.h"
#include "ErrorWindowExit.h"
#include "FormNames.h"
#include "Platform.h"
#include "WebAddresses.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tonara {

Form6::Form6(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("Form6");
    setWindowTitle("Error");
    auto* layout = new QVBoxLayout(this);
    auto* message = new QLabel("Something went wrong and Tonara must restart.... Sorry for the inconvenience!", this);
    message->setObjectName(form6::Label1);
    message->setWordWrap(true);
    list_ = new QListWidget(this);
    list_->setObjectName(form6::List1);
    list_->setAccessibleName("Error report");
    auto* exit = new QPushButton("Exit", this);
    exit->setObjectName(form6::Command1);
    auto* visit = new QPushButton("Visit our site", this);
    visit->setObjectName(form6::Command2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(visit);
    buttons->addWidget(exit);
    layout->addWidget(message);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(460, 260);
    connect(exit, &QPushButton::clicked, this, &Form6::exitClicked);
    connect(visit, &QPushButton::clicked, this, &Form6::visitSiteClicked);
}

void Form6::addLines(const QStringList& lines) { list_->addItems(lines); }

void Form6::exitClicked() {
    exitFlag_ = 1;
    closeEveryWindow(mainWindow_);
}

void Form6::visitSiteClicked() { platform().openUrl(websiteAddress()); }

void Form6::closeEvent(QCloseEvent* event) {
    closed_ = true;
    event->accept();
}

} // namespace tonara
