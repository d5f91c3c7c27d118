#include "HandOver.h"
#include "Folders.h"
#include "TextFile.h"

namespace tonara::quillon {

namespace {

// The file's mode codes and the mode each is played in; "64" (the second
// output stream) is not among them.
struct ServedMode {
    const char* asked;
    const char* played;
};
constexpr ServedMode kServedModes[] = {{"16", "16"}, {"32", "32"}, {"128", "256"}, {"256", "256"}};

const QStringList kLanguages = {"en", "nl"};
constexpr int kFieldsRead = 10;

} // namespace

QString handOverFile() { return joinPath(tempFolder(), "quillon.ini"); }

std::optional<HandOver> handOverFrom(const QStringList& fields) {
    const QString mode = fields.value(0);
    const QString language = fields.value(1);
    for (const ServedMode& served : kServedModes) {
        if (mode != served.asked) continue;
        if (!kLanguages.contains(language)) return std::nullopt;
        return HandOver{served.played, language};
    }
    return std::nullopt;
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
