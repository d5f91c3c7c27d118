// The save-file dialog: its filters as Qt reads them, and the real dialog
// driven as a user would.
#include "FileDialogFilter.h"
#include "Platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace tonara::test {

TEST(FileDialogFilter, WindowsFiltersBecomeQtNameFilters) {
    struct Case {
        const char* windows;
        QStringList qt;
    };
    const Case cases[] = {
        {"Text Files (*.txt)|*.txt|All Files (*.*)|*.*", {"Text Files (*.txt)", "All Files (*)"}},
        {"Tone files|*.tnf;*.TNF", {"Tone files (*.tnf *.TNF)"}},
        {"|*.wav", {"*.wav (*.wav)"}},
        {"Text Files (*.txt)|*.txt|Broken", {"Text Files (*.txt)"}}, // a description without its pattern
        {"Nothing|", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(qtNameFilters(c.windows), c.qt) << c.windows;
}

namespace {

// Runs act on the modal dialog once it is open.
template <typename Dialog>
void whenOpen(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no dialog is open";
            return;
        }
        act(*dialog);
    });
}

void typeName(QFileDialog& dialog, const QString& name) {
    auto* box = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(box, nullptr);
    box->setText(name);
}

} // namespace

TEST(SaveDialog, OffersTheFiltersNoNameAndNoSuffix) {
    QTemporaryDir folder;
    QStringList filters;
    QString offeredName = "?";
    bool asksBeforeReplacing = false;
    whenOpen<QFileDialog>([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        offeredName = dialog.findChild<QLineEdit*>("fileNameEdit")->text();
        asksBeforeReplacing = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDirectory(folder.path());
        typeName(dialog, "report");
        static_cast<QDialog&>(dialog).accept(); // QFileDialog keeps its own accept protected
    });
    const QString chosen = realPlatform().saveFileName("Text Files (*.txt)|*.txt|All Files (*.*)|*.*", "");
    EXPECT_EQ(filters, QStringList({"Text Files (*.txt)", "All Files (*)"}));
    EXPECT_EQ(offeredName, "");
    EXPECT_TRUE(asksBeforeReplacing);
    EXPECT_EQ(chosen, folder.filePath("report")) << "no suffix is added";
}

TEST(SaveDialog, ReplacingAFileIsConfirmedAndCancellingGivesNothing) {
    QTemporaryDir folder;
    QFile(folder.filePath("old.txt")).open(QIODevice::WriteOnly);
    bool asked = false;
    whenOpen<QFileDialog>([&](QFileDialog& dialog) {
        dialog.setDirectory(folder.path());
        typeName(dialog, "old.txt");
        whenOpen<QMessageBox>([&](QMessageBox& question) {
            asked = true;
            question.button(QMessageBox::Yes)->click();
        });
        static_cast<QDialog&>(dialog).accept(); // QFileDialog keeps its own accept protected
    });
    EXPECT_EQ(realPlatform().saveFileName("All Files (*.*)|*.*", ""), folder.filePath("old.txt"));
    EXPECT_TRUE(asked);

    whenOpen<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(realPlatform().saveFileName("All Files (*.*)|*.*", ""), "");
}

} // namespace tonara::test
