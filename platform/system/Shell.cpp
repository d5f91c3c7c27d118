#include "Shell.h"

#include <QDir>
#include <QFileInfo>

namespace tonara {

ShellCommand parseShellCommand(const QString& command) {
    ShellCommand sc;
    QString rest = command.trimmed();
    if (rest.startsWith("cmd /c ", Qt::CaseInsensitive)) {
        sc.viaCommandProcessor = true;
        rest = rest.mid(7).trimmed();
    }
    if (rest.startsWith('"')) {
        const qsizetype close = rest.indexOf('"', 1);
        if (close < 0) {
            sc.program = rest.mid(1);
            return sc;
        }
        sc.program = rest.mid(1, close - 1);
        rest = rest.mid(close + 1);
    } else {
        const qsizetype space = rest.indexOf(' ');
        sc.program = space < 0 ? rest : rest.left(space);
        rest = space < 0 ? QString() : rest.mid(space);
    }
    if (rest.startsWith(' ')) rest.remove(0, 1);
    sc.argument = rest;
    return sc;
}

QString resolveProgram(const QString& program, const QString& folder) {
    const QString path = QDir::isAbsolutePath(program) ? program : QDir(folder).filePath(program);
    if (QFileInfo::exists(path)) return path;
    // Windows finds a program whatever the case of its name ("SOUND32.dll" is sound32.dll).
    const QFileInfo wanted(path);
    const QDir dir = wanted.dir();
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        if (name.compare(wanted.fileName(), Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return path;
}

} // namespace tonara
