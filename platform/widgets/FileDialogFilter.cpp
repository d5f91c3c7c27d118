#include "FileDialogFilter.h"

#include <QRegularExpression>

namespace tonara {

namespace {

QString qtPatterns(const QString& windowsPatterns) {
    QStringList patterns;
    for (const QString& p : windowsPatterns.split(';', Qt::SkipEmptyParts)) {
        const QString pattern = p.trimmed();
        if (!pattern.isEmpty()) patterns << (pattern == "*.*" ? QStringLiteral("*") : pattern);
    }
    return patterns.join(' ');
}

// Qt reads the patterns from the description's last parentheses, so the
// Windows description's own "(*.txt)" is replaced by the real patterns.
QString withoutShownPatterns(const QString& description) {
    static const QRegularExpression shown(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString plain = description;
    plain.remove(shown);
    return plain.trimmed();
}

} // namespace

QStringList qtNameFilters(const QString& windowsFilter) {
    const QStringList parts = windowsFilter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = qtPatterns(parts[i + 1]);
        if (patterns.isEmpty()) continue;
        QString description = withoutShownPatterns(parts[i]);
        if (description.isEmpty()) description = patterns;
        filters << description + " (" + patterns + ")";
    }
    return filters;
}

} // namespace tonara
