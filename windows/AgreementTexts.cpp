#include "AgreementTexts.h"

#include <QStringList>

namespace tonara {

const AgreementTexts& agreementTexts(bool dutch) {
    static const AgreementTexts english{
        "By pressing on \"Accept\" you give Norvane Software permission to send anonymous data about using Tonara to "
        "a server. This data will be used to make Tonara better. If you select the checkbox below no data will be "
        "sent to our servers.",
        "By pressing on \"Accept\" you know that Norvane Software is not responsible for damage to hearing and the "
        "consequences of this.",
        "Language:", "I don't want to send anonymous data", "Accept", "Don't accept"};
    static const AgreementTexts nederlands{
        "Na het klikken op \"Accepteren\" geeft u Norvane Software toestemming om anonieme data te verzenden naar "
        "een server. Deze data wordt gebruikt om Tonara beter te maken. Als u de checkbox onderaan dit venster "
        "selecteert zal dit niet gebeuren.",
        "Na het klikken op \"Accepteren\" weet u dat Norvane Software niet aansprakelijk is voor schade aan uw "
        "gehoor en de gevolgen daarvan.",
        "Taal:", "Ik wil geen anonieme data verzenden", "Accepteren", "Niet accepteren"};
    return dutch ? nederlands : english;
}

QStringList firstRunSettings(bool dutch, bool noData) {
    return {"AutoUpdate=y", "Soundbit=128", dutch ? "Language=NL" : "Language=EN", noData ? "SendData=n" : "SendData=y",
            "Microphone=1", "MicrophoneON=y"};
}

} // namespace tonara
