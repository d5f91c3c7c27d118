#include "FrmAbout.h"
#include "Folders.h"
#include "FormNames.h"
#include "Platform.h"
#include "Program.h"
#include "RuntimeError.h"
#include "SineIcon.h"
#include "TextFile.h"
#include "Version.h"
#include "WebAddresses.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace tonara {

namespace {

const QString kTitle = QStringLiteral("Tonara");

QString designDescription() {
    return "Create the most annoying sounds with Tonara! Any problems? Mail to: " + supportEmailAddress();
}
QString dutchDescription() {
    return "Maak de meest vervelende geluiden met Tonara! Problemen? Mail dan naar: " + supportEmailAddress();
}

QLabel* makeLabel(frmAbout::Name name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAccessibleName(text);
    return l;
}

QPushButton* makeButton(frmAbout::Name name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(QString(text).remove('&'));
    return b;
}

} // namespace

FrmAbout::FrmAbout(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("frmAbout");
    auto* icon = new QLabel(this);
    icon->setObjectName(frmAbout::picIcon);
    icon->setPixmap(sineIcon(48, 48));
    icon->setAccessibleName(kTitle);
    auto* title = makeLabel(frmAbout::lblTitle, kTitle, this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 3 / 2);
    big.setBold(true);
    title->setFont(big);
    auto* description = makeLabel(frmAbout::lblDescription, designDescription(), this);
    description->setWordWrap(true);
    description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* ok = makeButton(frmAbout::cmdOK, "OK", this);
    ok->setDefault(true);
    auto* sysInfo = makeButton(frmAbout::cmdSysInfo, "&System Info...", this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(makeLabel(frmAbout::lblVersion, {}, this), 1, 1);
    layout->addWidget(description, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1); // room the window gains goes to the texts, not beside the icon
    setMinimumWidth(420);

    connect(ok, &QPushButton::clicked, this, &FrmAbout::okClicked);
    connect(sysInfo, &QPushButton::clicked, this, &FrmAbout::sysInfoClicked);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &FrmAbout::okClicked);
}

void FrmAbout::loadHandler() {
    Program(mainWindow_).LanguageAPI(mainWindow_.state().lang, 99);
    setWindowTitle("About " + kTitle);
    auto* version = findChild<QLabel*>(frmAbout::lblVersion);
    version->setText(QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
    version->setAccessibleName(version->text());
    findChild<QLabel*>(frmAbout::lblTitle)->setText(kTitle);
    if (fileExists(joinPath(platform().dataFolder(), "nl.ini")))
        findChild<QLabel*>(frmAbout::lblDescription)->setText(dutchDescription());
    auto* description = findChild<QLabel*>(frmAbout::lblDescription);
    description->setAccessibleName(description->text());
}

void FrmAbout::okClicked() { mainWindow_.unloadForm(Form::frmAbout); }

void FrmAbout::sysInfoClicked() { StartSysInfo(); }

const QStringList& FrmAbout::systemInformationPrograms() {
    static const QStringList programs{"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager"};
    return programs;
}

void FrmAbout::StartSysInfo() {
    for (const QString& name : systemInformationPrograms()) {
        const QString path = platform().findProgram(name);
        if (path.isEmpty()) continue;
        try {
            platform().startProgram('"' + path + '"', false);
            return;
        } catch (const RuntimeError&) {
            // One that will not start is as good as none: try the next.
        }
    }
    platform().messageBox("System Information Is Unavailable At This Time", kTitle, MessageIcon::None,
                          MessageButtons::Ok);
}

void FrmAbout::closeEvent(QCloseEvent* event) {
    event->accept();
    mainWindow_.unloadForm(Form::frmAbout);
}

} // namespace tonara
