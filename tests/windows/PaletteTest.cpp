// On a dark palette the pictures are dark boxes with light traces, and
// Quillon's verdict is readable on whichever palette is in use.
#include "AppRig.h"
#include "PictureBox.h"
#include "QuillonRig.h"
#include "ReadableColour.h"

#include <QApplication>
#include <QPalette>

namespace tonara::test {
namespace {

QPalette paletteOf(const QColor& window, const QColor& base, const QColor& text) {
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    return p;
}

class PaletteInUse {
public:
    explicit PaletteInUse(const QPalette& p) : before_(QApplication::palette()) { QApplication::setPalette(p); }
    ~PaletteInUse() { QApplication::setPalette(before_); }

private:
    QPalette before_;
};

const QPalette kLight = paletteOf(QColor(0xef, 0xef, 0xef), Qt::white, Qt::black);
const QPalette kDark = paletteOf(QColor(0x20, 0x20, 0x20), QColor(0x2a, 0x2a, 0x2a), QColor(0xe8, 0xe8, 0xe8));

TEST(Palette, TheVerdictIsReadableOnEitherPaletteAndKeepsTheDesignsColourWhereItIs) {
    const struct {
        const char* verdict;
        qint16 age, hearingAge;
        QColor design;
    } verdicts[] = {{"Perfect", 30, 20, QColor(0, 128, 0)},
                    {"Good", 0, 9, QColor(0, 0, 255)},
                    {"Average", 20, 35, QColor(255, 128, 0)},
                    {"Bad", 20, 60, QColor(255, 0, 0)}};
    for (const QPalette& palette : {kLight, kDark}) {
        PaletteInUse inUse(palette);
        for (const auto& v : verdicts) {
            QuillonRig rig;
            rig.wizard.state().age = v.age;
            rig.wizard.state().hearingAge = v.hearingAge;
            QWidget& result = rig.wizard.resultWindow();
            auto& verdict = control<QLabel>(result, quillonResult::Label4);
            result.setPalette(palette);
            rig.wizard.resultWindow().loadHandler();
            ASSERT_EQ(verdict.text(), v.verdict);
            const QColor shown = verdict.palette().color(QPalette::WindowText);
            const QColor background = result.palette().color(QPalette::Window);
            EXPECT_GE(contrastRatio(shown, background), kReadableContrast) << v.verdict << " on " << background.name().toStdString();
            if (contrastRatio(v.design, background) >= kReadableContrast) {
                EXPECT_EQ(shown, v.design) << v.verdict;
            }
        }
    }
}

TEST(Palette, ThePreviewIsADarkBoxWithALightTraceOnADarkPalette) {
    for (const QPalette& palette : {kLight, kDark}) {
        PaletteInUse inUse(palette);
        AppRig rig;
        PictureBox& preview = rig.form->picture1();
        preview.plot(15 * 10, 15 * 10);
        const QColor background = preview.image().pixelColor(0, 0);
        const QColor trace = preview.image().pixelColor(10, 10);
        EXPECT_EQ(trace.rgb(), preview.traceRgb());
        EXPECT_GE(contrastRatio(trace, background), kReadableContrast);
        const bool dark = palette.color(QPalette::Base) != QColor(Qt::white);
        EXPECT_EQ(relativeLuminance(background) < relativeLuminance(trace), dark) << "a light trace on a dark box";
        if (!dark) {
            EXPECT_EQ(background, PictureBox::kBackground);
            EXPECT_EQ(trace, PictureBox::kForeground);
        }
    }
}

TEST(Palette, WhatThePreviewShowsTakesTheNewColoursWhenThePaletteChanges) {
    AppRig rig;
    PictureBox& preview = rig.form->picture1();
    rig.form->setPalette(kLight);
    preview.plot(15 * 5, 15 * 5);
    rig.form->setPalette(kDark);
    EXPECT_EQ(preview.image().pixel(5, 5), preview.traceRgb());
    EXPECT_EQ(preview.image().pixelColor(0, 0), kDark.color(QPalette::Base));
}

} // namespace
} // namespace tonara::test
