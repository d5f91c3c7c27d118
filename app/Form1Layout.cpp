// The main window's controls and menus, with their design names and captions.
#include "AnalyserPanel.h"
#include "Form1.h"
#include "OutputStatus.h"
#include "PictureBox.h"
#include "PlainLine.h"
#include "SoundModes.h"
#include "WebLinks.h"
#include "WaveBox.h"
#include "WindowAccessibility.h"
#include "Platform.h"
#include "GeneratorSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>

namespace tonara {

namespace {

QLabel* makeLabel(MainControl name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* makeButton(MainControl name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QGroupBox* makeFrame(MainControl name, const QString& title, QWidget* parent) {
    auto* f = new QGroupBox(title, parent);
    f->setObjectName(name);
    return f;
}


const char* const kOptionCaptions[] = {"Low pitch",    "Average pitch", "High pitch", "Extreme pitch", "Spooky pitch",
                                       "Low to high", "Custom pitch",  "Morse tool", "Hearing age"};

} // namespace

void Form1::buildLayout() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* grid = new QGridLayout(central);
    grid->setVerticalSpacing(4);

    auto* frame1 = makeFrame(form1::Frame1, "Choices", central);
    auto* choices = new QVBoxLayout(frame1);
    choices->setSpacing(3); // nine options, within a small screen's height at a larger font
    for (int k = 1; k <= 9; ++k) {
        options_[k] = new QRadioButton(kOptionCaptions[k - 1], frame1);
        options_[k]->setObjectName(form1::kOptions[k - 1]);
        choices->addWidget(options_[k]);
        connect(options_[k], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) optionClicked(k);
        });
    }
    choices->addStretch();

    auto* frame2 = makeFrame(form1::Frame2, "Info", central);
    auto* info = new QGridLayout(frame2);
    info->setVerticalSpacing(2); // as tall as the choices beside it, within a small screen at a larger font
    auto* label1 = makeLabel(form1::Label1, "<< Select a mode >>", frame2);
    label1->setWordWrap(true);
    label1->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    label1->setMinimumHeight(56); // three lines of a mode's text
    info->addWidget(label1, 0, 0, 1, 4);
    auto* label9 = makeLabel(form1::Label9, "Custom pitch", frame2);
    QFont bold = label9->font();
    bold.setBold(true);
    label9->setFont(bold);
    info->addWidget(label9, 1, 0, 1, 4);
    info->addWidget(makeLabel(form1::Label3, "Selected pitch (Hz):", frame2), 2, 0, 1, 2);
    info->addWidget(makeLabel(form1::Label10, "1000", frame2), 2, 2, 1, 2);
    info->addWidget(makeLabel(form1::Label5, "4 Hz ->", frame2), 3, 0);
    hscroll1_ = new QScrollBar(Qt::Horizontal, frame2);
    hscroll1_->setObjectName(form1::HScroll1);
    hscroll1_->setAccessibleName("Selected pitch (Hz):");
    hscroll1_->setRange(4, 32000);
    hscroll1_->setValue(1000);
    hscroll1_->setSingleStep(1);
    hscroll1_->setPageStep(100);
    hscroll1_->setMinimumWidth(180);
    hscroll1_->setTracking(false); // the value changes at the end of a drag, not while the thumb moves
    hscroll1_->setFocusPolicy(Qt::StrongFocus); // the pitch can be set from the keyboard too
    // A scroll bar inverts its keys by default (Right, Up and PageUp lower its
    // value); as a pitch slider they raise it, as its direction shows, and so does the wheel turned up.
    hscroll1_->setInvertedControls(false);
    connect(hscroll1_, &QScrollBar::valueChanged, this, [this] { sliderChanged(); });
    customPitch_ = new QSpinBox(frame2);
    customPitch_->setObjectName(form1::CustomPitchBox);
    customPitch_->setAccessibleName("Custom pitch (Hz):");
    customPitch_->setRange(4, 32000);
    customPitch_->setValue(1000);
    customPitch_->setKeyboardTracking(false); // a typed pitch counts once it is whole
    customPitch_->setEnabled(false);
    // Bound both ways; each side only moves when the value differs, so no loop.
    connect(customPitch_, &QSpinBox::valueChanged, hscroll1_, &QScrollBar::setValue);
    connect(hscroll1_, &QScrollBar::valueChanged, customPitch_, &QSpinBox::setValue);
    customPitchLabel_ = makeLabel(form1::CustomPitchLabel, "Custom pitch (Hz):", frame2);
    customPitchLabel_->setBuddy(customPitch_);
    customPitchLabel_->setEnabled(false);
    info->addWidget(customPitchLabel_, 4, 0, 1, 2);
    info->addWidget(customPitch_, 4, 2);
    info->addWidget(hscroll1_, 3, 1, 1, 2);
    info->addWidget(makeLabel(form1::Label6, "<- 32000 Hz", frame2), 3, 3);
    auto* help = makeButton(form1::Command1, "Help", frame2);
    info->addWidget(help, 4, 3, Qt::AlignRight);
    connect(help, &QPushButton::clicked, this, [this] { pitchHelpClicked(); });
    for (MainControl name : {form1::Label9, form1::Label3, form1::Label10, form1::Label5, form1::Label6, form1::HScroll1,
                              form1::Command1})
        setEnabled(name, false);

    auto* frame3 = makeFrame(form1::Frame3, "Sound waves", central);
    auto* waves = new QGridLayout(frame3);
    auto* label2 = makeLabel(form1::Label2, "Not available", frame3);
    label2->setAlignment(Qt::AlignCenter);
    label2->setMinimumSize(177, 49);
    picture1_ = new PictureBox(form1::Picture1, 177, 49, frame3);
    picture1_->setAccessibleName("Sound waves");
    auto* line1 = new PlainLine(picture1_);
    line1->setObjectName(form1::Line1);
    // The line's grey is set in its palette: a style sheet would cost the
    // preview's every frame a style sheet repaint.
    QPalette grey = line1->palette();
    grey.setColor(QPalette::WindowText, QColor(0xc0, 0xc0, 0xc0));
    line1->setPalette(grey);
    markDecoration(line1);
    // Across the middle of the box, however large it grows.
    auto* middle = new QVBoxLayout(picture1_);
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addStretch();
    middle->addWidget(line1);
    middle->addStretch();
    waves->addWidget(label2, 0, 0);
    waves->addWidget(picture1_, 0, 0); // on top; "Not available" shows when the preview is hidden
    // Empty and never given a text: it would cost the window a row of height.
    makeLabel(form1::Label7, "", frame3)->hide();

    auto* frame4 = makeFrame(form1::Frame4, "Microphone input, sensitivity: 1", central);
    auto* mic = new QHBoxLayout(frame4);
    auto* minus = makeButton(form1::Command5, "-", frame4);
    auto* plus = makeButton(form1::Command4, "+", frame4);
    // The captions stay the design's; a screen reader says what they do.
    minus->setAccessibleName("Lower sensitivity");
    plus->setAccessibleName("Raise sensitivity");
    minus->setFixedWidth(32);
    plus->setFixedWidth(32);
    connect(minus, &QPushButton::clicked, this, [this] { minusClicked(); });
    connect(plus, &QPushButton::clicked, this, [this] { plusClicked(); });
    picWave_ = new WaveBox(form1::picWave, 177, 49, frame4);
    picWave_->setAccessibleName("Microphone input");
    auto* sensitivity = new QVBoxLayout;
    sensitivity->addWidget(minus);
    sensitivity->addWidget(plus);
    sensitivity->addStretch();
    mic->addLayout(sensitivity);
    mic->addWidget(picWave_, 1);
    analyser_ = new AnalyserPanel(frame4);
    analyser_->setSettings(loadAnalyserSettings());
    analyser_->followEnabled(plus);
    connect(analyser_, &AnalyserPanel::pictureChanged, this, [this] { analyserPictureChanged(); });
    connect(analyser_, &AnalyserPanel::inputChosen, this, [this] { analyserInputChosen(); });
    mic->addWidget(analyser_);

    auto* play = makeButton(form1::Command2, "Play Sound", central);
    auto* stop = makeButton(form1::Command3, "Stop Sound", central);
    play->setEnabled(false); // until a mode is chosen
    connect(play, &QPushButton::clicked, this, [this] { playClicked(); });
    connect(stop, &QPushButton::clicked, this, [this] { stopClicked(); });
    volume_ = new QSpinBox(central);
    volume_->setObjectName(form1::Volume);
    volume_->setAccessibleName("Volume (dB):");
    volume_->setRange(int(kLowestVolumeDb), 0);
    volume_->setValue(int(std::lround(loadVolumeDb())));
    volume_->setKeyboardTracking(false);
    connect(volume_, &QSpinBox::valueChanged, this, [this](int db) { volumeChanged(db); });
    auto* volumeLabel = makeLabel(form1::VolumeLabel, "Volume (dB):", central);
    volumeLabel->setBuddy(volume_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(play);
    buttons->addWidget(stop);
    buttons->addWidget(volumeLabel);
    buttons->addWidget(volume_);
    buttons->addWidget(makeLabel(form1::Label8, "No information avaible", central), 1);

    grid->addWidget(frame1, 0, 0, 2, 1);
    grid->addWidget(frame2, 0, 1);
    grid->addWidget(frame3, 1, 1);
    grid->addWidget(frame4, 2, 0, 1, 2);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    // Height the window gains goes to the preview and the microphone's picture.
    grid->setRowStretch(1, 1);
    grid->setRowStretch(2, 1);

    QStatusBar* bar = statusBar();
    bar->setObjectName(form1::StatusBar1);
    bar->setSizeGripEnabled(false);
    const QString texts[] = {"Actual pitch (Hertz): ", "v2.3.6", outputStatusText(platform().outputRate(), 0)};
    for (int i = 1; i <= 3; ++i) {
        panels_[i] = makeLabel(form1::kPanels[i - 1], texts[i - 1], bar);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        bar->addWidget(panels_[i], i == 1 ? 1 : 0);
    }
}

void Form1::buildMenus() {
    QMenuBar* bar = menuBar();
    // Items are in their menu before their captions are set, so that each
    // gets an access key its siblings do not use.
    auto submenu = [this](QWidget* parent, MainControl name, MainControl action, const QString& title) {
        auto* m = new QMenu(parent);
        m->setObjectName(name);
        m->menuAction()->setObjectName(action);
        if (auto* menu = qobject_cast<QMenu*>(parent)) menu->addMenu(m);
        else qobject_cast<QMenuBar*>(parent)->addMenu(m);
        setCaption(name, title);
        return m;
    };
    auto item = [this](QMenu* menu, MainControl name, const QString& text, auto handler, bool checkable = false) {
        auto* a = menu->addAction(QString());
        a->setObjectName(name);
        a->setCheckable(checkable);
        setCaption(name, text);
        // The handlers decide the check marks themselves, from the state before the click.
        connect(a, &QAction::triggered, this, [a, checkable, handler](bool checked) {
            if (checkable) a->setChecked(!checked);
            handler();
        });
        return a;
    };

    QMenu* file = submenu(bar, form1::file, form1::fileAction, "File");
    item(file, form1::openfile, "Open...", [this] { openFileClicked(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    item(file, form1::exit, "Exit", [this] { exitClicked(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* settings = submenu(bar, form1::settings, form1::settingsAction, "Settings");
    QMenu* soundmode = submenu(settings, form1::soundmode, form1::soundmodeAction, "Sound mode");
    for (const SoundMode& mode : soundModes())
        item(soundmode, mode.menuItem, mode.menuCaption, [this, &mode] { soundModeClicked(mode); }, true);
    QMenu* language = submenu(settings, form1::language, form1::languageAction, "Language");
    item(language, form1::english, "English", [this] { languageClicked(false); }, true)->setChecked(true);
    item(language, form1::dutch, "Dutch", [this] { languageClicked(true); }, true);
    item(settings, form1::autoupdate, "Automatic Updates", [this] { autoUpdateClicked(); }, true);
    item(settings, form1::microinputonoff, "Display Microphone Input", [this] { microinputonoffClicked(); }, true);

    QMenu* tools = submenu(bar, form1::tools, form1::toolsAction, "Tools");
    item(tools, form1::signalgenerator, "Signal generator...", [this] { signalGeneratorClicked(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));

    QMenu* help = submenu(bar, form1::help, form1::helpAction, "Help");
    for (const WebLink& link : webLinks())
        item(help, link.menuItem, link.menuCaption, [this, &link] { webLinkClicked(link); });
    item(help, form1::about, "About...", [this] { aboutClicked(); });
}

} // namespace tonara
