#pragma once
// The agreement window's texts, in English and in Dutch.

#include <QString>

namespace tonara {

struct AgreementTexts {
    QString label1, label4, label7, check1, command1, command2;
};

const AgreementTexts& agreementTexts(bool dutch);

// The six lines Accept writes to a fresh settings file.
QStringList firstRunSettings(bool dutch, bool noData);

} // namespace tonara
