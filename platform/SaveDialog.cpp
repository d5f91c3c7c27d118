// The save-file dialog of the desktop.
#include "FileDialogFilter.h"
#include "RealPlatform.h"

#include <QFileDialog>

namespace tonara {

QString RealPlatform::saveFileName(const QString& filter, const QString& fileName) {
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(filter));
    dialog.setDefaultSuffix(QString());
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace tonara
