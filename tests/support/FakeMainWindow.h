#pragma once
// A main window made of plain records, for testing the logic without widgets.
// A control name the window's design does not have (one made by hand)
// fails the running test.

#include "MainWindow.h"

#include <QMap>
#include <QPair>
#include <QSet>
#include <functional>
#include <map>
#include <vector>

namespace tonara::test {

class FakeMainWindow : public MainWindow {
public:
    FakeMainWindow();

    MainState& state() override { return vars; }

    void setCaption(MainControl control, const QString& text) override;
    QString caption(MainControl control) const override;
    void setEnabled(MainControl control, bool enabled) override;
    bool isEnabled(MainControl control) const override;
    void setShown(MainControl control, bool shown) override;
    void setChecked(MainControl control, bool checked) override;
    bool isChecked(MainControl control) const override;
    int sliderValue() const override { return slider; }
    void setStatusText(int panel, const QString& text) override;
    QString statusText(int panel) const override { return status.value(panel); }

    void setFormCaption(FormControl control, const QString& text) override;

    bool isFormVisible(Form form) const override { return visibleForms.contains(int(form)); }
    void showForm(Form form) override;
    void hideForm(Form form) override;
    void unloadForm(Form form) override;

    void fillUpdateWindow(const UpdateOffer& offer) override { updateOffers.push_back(offer); }

    void drawSine(qint16 pitch, qint16 mode) override { sines.push_back({pitch, mode}); }

    void addErrorLines(const QStringList& lines) override { errorLines += lines; }
    bool errorWindowLeft() const override { return errorLeft; }

    MainState vars;
    QMap<MainControl, QString> captions;
    QSet<MainControl> disabled;
    QSet<MainControl> hidden;
    QSet<MainControl> checked;
    int slider = 1000;
    QMap<int, QString> status;
    QStringList statusHistory; // every text panel 1 was given, in order
    QMap<FormControl, QString> formCaptions;
    QSet<int> visibleForms;
    QStringList formEvents;    // "show Form5", "hide Form1", "unload Form6"
    std::vector<UpdateOffer> updateOffers;
    std::vector<std::pair<qint16, qint16>> sines;
    QStringList errorLines;
    bool errorLeft = false;
};

QString formName(Form form);

} // namespace tonara::test
