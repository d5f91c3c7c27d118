#pragma once
// The main window: the nine modes, Play and Stop, the preview, the
// microphone frame, the status bar and the menus. It owns the program's
// public state and the other windows, and is the MainWindow the logic sees.

#include "MainWindow.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>

class QAction;
class QLabel;
class QRadioButton;
class QScrollBar;

namespace tonara {

class PictureBox;
class Form5;
class Form6;
class Form8;

class Form1 : public QMainWindow, public MainWindow {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    // Runs the start-up sequence, then shows the window unless start-up hid it.
    void start();

    // Event handlers.
    void loadHandler();
    void unloadHandler();
    void optionClicked(int option);
    void sliderChanged();
    void playClicked();
    void stopClicked();

    PictureBox& picture1() { return *picture1_; }

    // MainWindow
    MainState& state() override { return state_; }
    void setCaption(const QString& control, const QString& text) override;
    QString caption(const QString& control) const override;
    void setEnabled(const QString& control, bool enabled) override;
    bool isEnabled(const QString& control) const override;
    void setShown(const QString& control, bool shown) override;
    void setChecked(const QString& control, bool checked) override;
    bool isChecked(const QString& control) const override;
    int sliderValue() const override;
    void setStatusText(int panel, const QString& text) override;
    QString statusText(int panel) const override;
    void setFormCaption(Form form, const QString& control, const QString& text) override;
    bool isFormVisible(Form form) const override;
    void showForm(Form form) override;
    void hideForm(Form form) override;
    void unloadForm(Form form) override;
    void fillUpdateWindow(const UpdateOffer& offer) override;
    void drawSine(qint16 pitch, qint16 mode) override;
    void addErrorLines(const QStringList& lines) override;
    bool errorWindowLeft() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void markSoundModeMenu();
    QObject* control(const QString& name) const;
    QWidget* loadedForm(Form form) const;
    QWidget* loadForm(Form form);
    void setSplashStatus(const QString& text);

    MainState state_;
    PictureBox* picture1_ = nullptr;
    std::array<QRadioButton*, 10> options_{};
    QScrollBar* hscroll1_ = nullptr;
    std::array<QLabel*, 4> panels_{};

    std::map<Form, QPointer<QWidget>> forms_;
    bool hiddenByStartup_ = false;

    qint16 startupGuard_ = 0;
    qint16 connectivityResult_ = 0;
    std::array<qint16, 10> wasdisabled_{};
    QString toneFilePath_;
    qint16 toneFileFlag_ = 0;
    qint16 closeCount_ = 0;
    qint16 closeAnswer_ = 0;
    QString tempdir_;
};

} // namespace tonara
