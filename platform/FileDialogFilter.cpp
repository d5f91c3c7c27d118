#include "FileDialogFilter.h"

namespace tonara {

namespace {

// Qt reads "*.*" as names that hold a dot; the filter means every file.
QString qtPatterns(QString patterns) {
    patterns.replace(';', ' ');
    QStringList out;
    for (const QString& p : patterns.split(' ', Qt::SkipEmptyParts)) out << (p == "*.*" ? "*" : p);
    return out.join(' ');
}

} // namespace

QStringList qtNameFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString shown = "(" + parts[i + 1].trimmed() + ")";
        if (description.endsWith(shown)) description.chop(shown.size());
        filters << description.trimmed() + " (" + qtPatterns(parts[i + 1].trimmed()) + ")";
    }
    return filters;
}

} // namespace tonara
