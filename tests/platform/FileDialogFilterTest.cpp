#include "FileDialogFilter.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tonara;

TEST(FileDialogFilter, PairsBecomeQtNameFiltersAndStarDotStarMeansEveryFile) {
    EXPECT_EQ(qtNameFilters("Tonara file (*.tnf)|*.tnf|All files (*.*)|*.*"),
              (QStringList{"Tonara file (*.tnf)", "All files (*)"}));
    EXPECT_EQ(qtNameFilters("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
              (QStringList{"Text Files (*.txt)", "All Files (*)"}));
    EXPECT_EQ(qtNameFilters("Pictures|*.png;*.jpg"), QStringList{"Pictures (*.png *.jpg)"});
    EXPECT_EQ(qtNameFilters("Lone description"), QStringList{});
}
