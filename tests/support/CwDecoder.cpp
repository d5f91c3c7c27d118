#include "CwDecoder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tonara::test {

namespace {

constexpr int kDecoderRate = 22050;
constexpr int kWaitMs = 60000;

QStringList decoderArguments(double dotMs) {
    const QString dot = QString::number(int(std::lround(dotMs)));
    return {"-q", "-c", "-a", "MORSE_CW", "-d", dot, "-g", dot, "-y", "-t", "raw", "-"};
}

// sox's output straight into multimon-ng, both waited for.
CwDecoding run(const QStringList& soxArguments, const QByteArray& input, double dotMs) {
    for (const char* tool : {"sox", "multimon-ng"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return {{}, QString("%1 is not installed (scripts/setup.sh installs it)").arg(tool)};
    QProcess sox, decoder;
    sox.setStandardOutputProcess(&decoder);
    decoder.start("multimon-ng", decoderArguments(dotMs));
    sox.start("sox", soxArguments);
    if (!input.isEmpty()) sox.write(input);
    sox.closeWriteChannel();
    if (!sox.waitForFinished(kWaitMs) || sox.exitCode() != 0)
        return {{}, "sox failed: " + QString::fromLocal8Bit(sox.readAllStandardError())};
    if (!decoder.waitForFinished(kWaitMs)) return {{}, "multimon-ng did not end"};
    QString printed = QString::fromLocal8Bit(decoder.readAllStandardOutput());
    printed.remove(QRegularExpression("MORSE_CW: ?"));
    printed.remove('\n');
    return {printed, {}};
}

QStringList resampled() {
    return {"-t", "raw", "-r", QString::number(kDecoderRate), "-e", "signed", "-b", "16", "-c", "1", "-"};
}

} // namespace

CwDecoding decodeCw(const std::vector<std::int16_t>& samples, int rate, double dotMs) {
    const QByteArray bytes(reinterpret_cast<const char*>(samples.data()), qsizetype(samples.size() * 2));
    return run(QStringList{"-q", "-t", "raw", "-r", QString::number(rate), "-e", "signed", "-b", "16", "-c", "1", "-"} +
                   resampled(),
               bytes, dotMs);
}

CwDecoding decodeCwFile(const QString& path, double dotMs) {
    return run(QStringList{"-q", path} + resampled(), {}, dotMs);
}

QString cwNormalised(const QString& text) { return text.toUpper().simplified(); }

} // namespace tonara::test
