#include "AccessKeys.h"

namespace tonara {

namespace {

bool isFree(QChar c, const QString& takenKeys) { return c.isLetterOrNumber() && !takenKeys.contains(c.toLower()); }

qsizetype keyPosition(const QString& caption, const QString& takenKeys) {
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const bool wordStart = i == 0 || !caption[i - 1].isLetterOrNumber();
        if (wordStart && isFree(caption[i], takenKeys)) return i;
    }
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (isFree(caption[i], takenKeys)) return i;
    return -1;
}

} // namespace

QString withAccessKey(const QString& caption, const QString& takenKeys) {
    const qsizetype at = keyPosition(caption, takenKeys);
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (i == at) out += '&';
        out += caption[i];
        if (caption[i] == '&') out += '&';
    }
    return out;
}

QString withoutAccessKey(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i; // "&x" gives x, "&&" gives &
        out += text[i];
    }
    return out;
}

QChar accessKeyOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return text[i + 1].toLower();
        ++i;
    }
    return {};
}

} // namespace tonara
