#include "ToneFile.h"
#include "NumberText.h"
#include "RuntimeError.h"
#include "SafeFiles.h"
#include "TextFile.h"

#include <optional>

namespace tonara {

namespace {

using Verdict = ToneFileReading::Verdict;

constexpr int kFirstToneField = 8;
constexpr double kMaxValue = 32000;

QString without(QString field, const QString& markers) {
    for (QChar marker : markers) field.remove(marker);
    return field;
}

// The number a field holds once its markers are removed, when it lies above
// low and at most kMaxValue; stored rounded, halves to even.
std::optional<qint16> valueAbove(const QString& field, const QString& markers, double low) {
    const double value = leadingNumberValue(without(field, markers));
    if (!(value > low && value <= kMaxValue)) return std::nullopt;
    return toInt16(value);
}

ToneFileReading verdict(Verdict v) { return {v, {}}; }

} // namespace

ToneFileReading checkToneFields(const QStringList& fields) {
    auto field = [&](int k) { return k <= fields.size() ? fields[k - 1] : QString(); };

    if (without(field(1), "%") != "valid" || field(2) != "[info]") return verdict(Verdict::Illegal);
    if (leadingNumberValue(without(field(3), "{}")) > kToneFileVersion) return verdict(Verdict::TooNew);

    ToneFile file;
    const QString visibility = without(field(5), "{}");
    if (visibility.compare("visible", Qt::CaseInsensitive) == 0) file.visibility = 0;
    else if (visibility.compare("invisible", Qt::CaseInsensitive) == 0) file.visibility = 1;
    else return verdict(Verdict::Illegal);

    if (field(6) != "[sound]") return verdict(Verdict::Illegal);
    const auto extraTime = valueAbove(field(7), "{}", 0);
    if (!extraTime) return verdict(Verdict::Illegal);
    file.extraTime = *extraTime;

    for (int k = kFirstToneField; k < fields.size(); k += 2) {
        if (!field(k).startsWith('<') || !field(k + 1).startsWith('\\')) return verdict(Verdict::Illegal);
        const auto pitch = valueAbove(field(k), "<>", 1);
        const auto duration = valueAbove(field(k + 1), "\\", 0);
        if (!pitch || !duration) return verdict(Verdict::Illegal);
        file.tones.push_back({*pitch, *duration});
    }
    return {Verdict::Accepted, file};
}

ToneFileReading readToneFile(const QString& path) {
    if (!fileExists(path)) return verdict(Verdict::Illegal);
    // A file that cannot be read (no permission, or not a regular file by
    // the time it is opened) is as illegal as a missing one.
    QByteArray bytes;
    try {
        bytes = readFileBytes(path);
    } catch (const RuntimeError&) {
        return verdict(Verdict::Illegal);
    }
    EntryReader reader = EntryReader::fromBytes(bytes);
    reader.skipBlankLines();
    QStringList fields;
    while (!reader.atEnd()) {
        fields << reader.next();
        if (fields.size() == kToneFileFieldLimit) return verdict(Verdict::Illegal);
    }
    return checkToneFields(fields);
}

} // namespace tonara
