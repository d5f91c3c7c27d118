#include "UploadHandOver.h"

#include "Folders.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "SafeFiles.h"
#include "TextFile.h"
#include "WebAddresses.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>
#include <optional>

namespace tonara {

namespace {

const QString kHandOverName = QStringLiteral("snd.ini");

struct HandOver {
    QString localFile;
    QString uploadName;
};

// Moved away before it is read, so a hand-over written meanwhile is neither
// lost nor mixed with this one. Read as any file of the temporary folder: a
// planted link, FIFO or another user's file is not.
std::optional<HandOver> takeHandOver(const QString& folder, QString& problem) {
    const QString path = joinPath(folder, kHandOverName);
    QByteArray bytes;
    try {
        const QString taken = takeAway(path);
        try {
            bytes = readFileBytes(taken);
        } catch (const RuntimeError&) {
            // Nothing of ours to hand over: treated as an empty hand-over.
        }
        QFile::remove(taken);
    } catch (const RuntimeError& failure) {
        problem = "no hand-over file " + path + ": " + failure.description();
        return std::nullopt;
    }
    const QStringList lines = wholeLines(bytes, 2);
    if (lines.size() < 2 || lines[0].isEmpty() || lines[1].isEmpty()) {
        problem = "the hand-over file " + path + " does not name a file and an upload name";
        return std::nullopt;
    }
    return HandOver{lines[0], lines[1]};
}

// The server stores the file under this name: nothing that could climb out of its folder.
bool isPlainName(const QString& name) {
    static const QRegularExpression plain("^[A-Za-z0-9][A-Za-z0-9._-]*$");
    return plain.match(name).hasMatch();
}

QString uploadTarget(QString address, const QString& name) {
    if (!address.endsWith('/')) address += '/';
    return address + name;
}

} // namespace

void FTPSend(const QString& LocalFileName, const QString& FileName) {
    const QString folder = tempFolder();
    replaceLines(joinPath(folder, kHandOverName), {LocalFileName, FileName});
    platform().startProgram("cmd /c \"" + joinPath(platform().companionFolder(), "ftpSend.exe") + '"', true);
}

QString sendHandedOverFile() {
    const QString folder = tempFolder();
    QString problem;
    const std::optional<HandOver> handOver = takeHandOver(folder, problem);
    if (!handOver) return problem;
    const QString address = uploadAddress();
    if (address.isEmpty()) return {};
    if (!isPlainName(handOver->uploadName)) return "refused upload name: " + handOver->uploadName;

    const bool bare = !handOver->localFile.contains('/') && !handOver->localFile.contains('\\');
    // Cleaned first: "sub/.." would reach past the folder through whatever sub is.
    const QString local = QDir::cleanPath(bare ? joinPath(folder, handOver->localFile) : handOver->localFile);
    // Only the program's own logs are handed over, and they lie in the
    // temporary folder; what is opened there is checked once open, so it
    // cannot be swapped for another file between a look and the read.
    if (!isInTempFolder(local)) return "not a file of the temporary folder " + folder + ": " + local;
    QByteArray data;
    try {
        data = readFileBytes(local);
    } catch (const RuntimeError& failure) {
        return "cannot read " + local + ": " + failure.description();
    }

    const QString target = uploadTarget(address, handOver->uploadName);
    const QString refusal = platform().upload(data, target);
    if (refusal.isEmpty()) return {};
    return "sending " + local + " to " + QUrl(target).toDisplayString(QUrl::RemovePassword) + ": " + refusal;
}

} // namespace tonara
