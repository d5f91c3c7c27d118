// Every window fits a 1280 x 1024 screen at scale 2 (640 x 512 logical
// pixels), also with a font a quarter larger, and nothing in it is cut off.
#include "AllWindows.h"

#include "PictureBox.h"
#include "WaveBox.h"

#include <QAbstractButton>
#include <QFont>
#include <QLabel>
#include <QLineEdit>

namespace tonara::test {
namespace {

constexpr QSize kScreenAtScale2(640, 512);

// Sets the application's font a factor larger for one test, and back.
class FontScale {
public:
    explicit FontScale(double factor) : before_(QApplication::font()) {
        QFont larger = before_;
        larger.setPointSizeF(before_.pointSizeF() * factor);
        QApplication::setFont(larger);
    }
    ~FontScale() { QApplication::setFont(before_); }

private:
    QFont before_;
};

// What a shown window cuts: a control smaller than its own least size, a
// wrapped text lower than its lines need.
QStringList cutOff(QWidget* window) {
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != window || !w->parentWidget()->layout()) continue;
        const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
        // A button made narrow on purpose ("+") needs room for its caption only.
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && w->minimumWidth() == w->maximumWidth()) {
            if (button->fontMetrics().horizontalAdvance(button->text()) + 8 > w->width())
                cut << QString("%1's caption is cut off").arg(w->objectName());
            continue;
        }
        if (auto* box = qobject_cast<QLineEdit*>(w);
            box && box->fontMetrics().horizontalAdvance(box->text()) + 8 > box->contentsRect().width())
            cut << QString("%1 cannot show its text \"%2\"").arg(box->objectName(), box->text());
        if (w->width() < least.width() || w->height() < least.height())
            cut << QString("%1 %2x%3 < %4x%5").arg(w->objectName()).arg(w->width()).arg(w->height())
                       .arg(least.width()).arg(least.height());
        if (auto* label = qobject_cast<QLabel*>(w); label && label->wordWrap() && label->hasHeightForWidth() &&
                                                  label->height() < label->heightForWidth(label->width()))
            cut << QString("%1's text needs %2 px, has %3").arg(label->objectName())
                       .arg(label->heightForWidth(label->width())).arg(label->height());
    }
    return cut;
}

struct SizeCase {
    WindowCase window;
    double fontScale;
    bool dutch;
};

class WindowSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(WindowSize, FitsTheScreenAtScale2WithNothingCutOff) {
    FontScale font(GetParam().fontScale);
    OpenedWindows opened;
    speak(opened, GetParam().window.name, GetParam().dutch);
    QWidget* window = GetParam().window.open(opened);
    ASSERT_NE(window, nullptr);
    settle(window);
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_LE(least.width(), kScreenAtScale2.width()) << "least width";
    EXPECT_LE(least.height(), kScreenAtScale2.height()) << "least height";
    EXPECT_LE(window->frameGeometry().width(), kScreenAtScale2.width()) << "as it opens";
    EXPECT_LE(window->frameGeometry().height(), kScreenAtScale2.height()) << "as it opens";
    const QStringList cut = cutOff(window);
    EXPECT_TRUE(cut.isEmpty()) << "as it opens:\n" << cut.join("\n").toStdString();
    // Shrunk as far as it goes, nothing is cut either (a wrapped text that
    // needs more lines must not squeeze its neighbours).
    window->resize(least);
    settle(window);
    const QStringList cutSmallest = cutOff(window);
    EXPECT_TRUE(cutSmallest.isEmpty()) << "at its least size:\n" << cutSmallest.join("\n").toStdString();
}

std::vector<SizeCase> sizeCases() {
    std::vector<SizeCase> cases;
    for (bool dutch : {false, true})
        for (double scale : {1.0, 1.25})
            for (const WindowCase& w : allWindows()) cases.push_back({w, scale, dutch});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowSize, ::testing::ValuesIn(sizeCases()), [](const auto& test) {
    QString name = test.param.window.name;
    return (name.remove(' ') + (test.param.fontScale > 1 ? "_font125" : "_font100") +
            (test.param.dutch ? "_nl" : "_en")).toStdString();
});

// Room the main window gains goes to its pictures, not to empty space.
TEST(WindowGrowth, TheMainWindowsPicturesGrowWithIt) {
    AppRig rig;
    Form1& main = *rig.form;
    main.show();
    settle(&main);
    const QSize preview = main.picture1().size(), wave = main.picWave().size();
    main.resize(main.size() + QSize(300, 200));
    settle(&main);
    EXPECT_GT(main.picture1().width(), preview.width());
    EXPECT_GT(main.picture1().height(), preview.height());
    EXPECT_GT(main.picWave().width(), wave.width());
    EXPECT_GT(main.picWave().height(), wave.height());
    // The preview's scale is the box's: the next frame fills it.
    EXPECT_EQ(main.picture1().scaleWidth(), main.picture1().width() * kTwipsPerPixel);
}

} // namespace
} // namespace tonara::test
