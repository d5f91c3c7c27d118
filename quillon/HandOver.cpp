#include "HandOver.h"
#include "Folders.h"
#include "SoundModes.h"
#include "TextFile.h"

namespace tonara::quillon {

namespace {

const QStringList kLanguages = {"en", "nl"};
constexpr int kFieldsRead = 10;

} // namespace

QString handOverFile() { return joinPath(tempFolder(), "quillon.ini"); }

std::optional<HandOver> handOverFrom(const QStringList& fields) {
    // The mode each code is played in is the table's; a code it refuses
    // (the second output stream) is no hand-over.
    const SoundMode* mode = soundModeFor(fields.value(0));
    const QString language = fields.value(1);
    if (!mode || !mode->quillonPlaysAs || !kLanguages.contains(language)) return std::nullopt;
    return HandOver{QString::fromLatin1(mode->quillonPlaysAs), language};
}

std::optional<HandOver> takeHandOver() {
    const QString path = handOverFile();
    if (!fileExists(path)) return HandOver{};
    EntryReader reader(path);
    QStringList fields;
    while (!reader.atEnd() && fields.size() < kFieldsRead) fields << reader.next();
    deleteFile(path);
    return handOverFrom(fields);
}

} // namespace tonara::quillon
