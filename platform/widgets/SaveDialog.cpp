// The save-file dialog of the desktop.
#include "SaveDialog.h"
#include "FileDialogFilter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tonara {

QString askSaveFileName(const QString& filter, const QString& fileName) {
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(filter));
    dialog.setDefaultSuffix(QString());
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    // A folder given whole is where the dialog opens, with no name offered.
    if (QDir::isAbsolutePath(fileName) && QFileInfo(fileName).isDir()) dialog.setDirectory(fileName);
    else dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace tonara
