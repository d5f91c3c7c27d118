#include "ModePresentation.h"
#include "ErrorLocations.h"
#include "NumberText.h"
#include "Platform.h"
#include "SineFrame.h"
#include "Trap.h"

namespace tonara {

namespace {

constexpr MainControl kCustomPitchGroup[] = {form1::Label9,  form1::Label3,   form1::Label10, form1::Label5,
                                             form1::Label6, form1::HScroll1, form1::Command1};

// The animated preview that is running, if any. There is only ever one: a
// new animation hands its pitch to it instead of running nested inside its
// event pass, so the stack stays flat however many modes are clicked.
ModePresentation* g_animation = nullptr;

} // namespace

ModePresentation::ModePresentation(Program& program, PreviewCanvas& canvas) : program_(program), canvas_(canvas) {}

void ModePresentation::SelectRadio(qint16 newselected) {
    MainWindow& w = program_.mainWindow();
    trapped(w, errol::SelectRadio, [&] {
        program_.LanguageAPI(w.state().lang, 1);
        if (newselected < 1 || newselected > 9) return;
        for (int k = 1; k <= 9; ++k)
            if (k != newselected) w.setChecked(optionName(k), false);
        const bool preview = newselected <= 7;
        w.setShown(form1::Picture1, preview);
        w.setShown(form1::Line1, preview);
        for (MainControl control : kCustomPitchGroup) w.setEnabled(control, newselected == 7);
        if (newselected == 7) {
            w.setCaption(form1::Label10, signedNumberText(w.sliderValue()));
            DrawSine(toInt16(integerPart(w.caption(form1::Label10))), kStaticPreview);
        }
        w.setCaption(form1::Label1, program_.rd[size_t(newselected)]);
        w.setCaption(form1::Command2, newselected <= 7 ? program_.rdbtn1 : program_.rdbtn2);
        w.setEnabled(form1::Command2, true);
        program_.PrintFile(QStringLiteral("#Option %1 Clicked").arg(newselected));
    });
}

void ModePresentation::drawFrame(bool plotPoints) {
    const qint32 amplitude = toInt32(canvas_.scaleHeight() / 2.0 - 100);
    const qint32 width = toInt32(canvas_.scaleWidth());
    if (!plotPoints) return;
    sineFrame(step_, phase_, amplitude, width, heights_);
    canvas_.plotFrame(heights_);
}

// When the loop ends, stopme is 1: the last pass clears the box only when
// Low to high is chosen, so Custom pitch keeps the static frame it just drew.
void ModePresentation::animate(MainWindow& w) {
    g_animation = this;
    const struct Finished {
        ~Finished() { g_animation = nullptr; }
    } finished;
    const MainState& s = w.state();
    do {
        platform().processEvents();
        phase_ += 100;
        if (w.isChecked(form1::Option6) || s.stopme != 1) canvas_.clear();
        drawFrame(s.stopme != 1);
        if (phase_ == 100000) phase_ = 0;
        platform().delay(50);
        if (!w.isFormVisible(Form::Form1)) platform().endProgram(0);
    } while (s.stopme != 1);
}

void ModePresentation::DrawSine(qint16 pitch, qint16 mode) {
    MainWindow& w = program_.mainWindow();
    trapped(w, errol::DrawSine, [&] {
        step_ = float(pitch / 500.0 * 0.001);
        w.state().stopme = 0;
        if (mode == kAnimatedPreview) {
            if (!g_animation) return animate(w);
            // The running loop goes on with this pitch, from this phase, as a
            // new loop would have.
            g_animation->step_ = step_;
            g_animation->phase_ = phase_;
        } else if (mode == kStaticPreview) {
            canvas_.clear();
            drawFrame(true);
        }
    });
}

} // namespace tonara
