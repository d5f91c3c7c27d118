#include "UploadHandOver.h"

#include "Folders.h"
#include "Platform.h"
#include "TextFile.h"
#include "WebAddresses.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace tonara {

namespace {

const QString kHandOverName = QStringLiteral("snd.ini");

struct HandOver {
    QString localFile;
    QString uploadName;
};

// Renamed before it is read, so a hand-over written meanwhile is neither
// lost nor mixed with this one.
std::optional<HandOver> takeHandOver(const QString& folder, QString& problem) {
    const QString path = joinPath(folder, kHandOverName);
    const QString taken = path + QString(".%1").arg(QCoreApplication::applicationPid());
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(taken).constData()) != 0) {
        problem = "no hand-over file " + path + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    const bool isLink = QFileInfo(taken).isSymLink();
    QFile file(taken);
    const QByteArray bytes = !isLink && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QFile::remove(taken);
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

// Only the program's own logs are handed over, and they lie in the temporary folder.
bool liesIn(const QString& path, const QString& folder) {
    const QFileInfo file(path);
    return file.isFile() && !file.isSymLink() && file.canonicalPath() == QFileInfo(folder).canonicalFilePath();
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
    const QString local = bare ? joinPath(folder, handOver->localFile) : handOver->localFile;
    if (!liesIn(local, folder)) return "not a file of the temporary folder " + folder + ": " + local;
    QFile file(local);
    if (!file.open(QIODevice::ReadOnly)) return "cannot read " + local;
    const QByteArray data = file.readAll();

    const QString target = uploadTarget(address, handOver->uploadName);
    const QString refusal = platform().upload(data, target);
    if (refusal.isEmpty()) return {};
    return "sending " + local + " to " + QUrl(target).toDisplayString(QUrl::RemovePassword) + ": " + refusal;
}

} // namespace tonara
