#include "WindowLanguage.h"
#include "OwnTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

namespace tonara {

namespace {

// The English of a shown text is kept on the widget, so the language can
// change back and forth; a text shown since that is neither is looked at afresh.
QString translated(QObject* holder, const char* key, const QString& shown, const QString& language) {
    QString english = holder->property(key).toString();
    if (english.isEmpty() || (shown != english && shown != ownText(english, "nl"))) {
        if (!isOwnText(shown)) return shown;
        english = shown;
        holder->setProperty(key, english);
    }
    return ownText(english, language);
}

template <typename Set> void change(const QString& shown, const QString& wanted, Set set) {
    if (wanted != shown) set(wanted); // a label's setText would drop its picture
}

void translateWidget(QWidget* w, const QString& language) {
    const auto follow = [&](const char* key, const QString& shown, auto set) {
        change(shown, translated(w, key, shown, language), set);
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        follow("tonaraEnglishText", label->text(), [label](const QString& t) { label->setText(t); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        follow("tonaraEnglishText", button->text(), [button](const QString& t) { button->setText(t); });
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        follow("tonaraEnglishText", group->title(), [group](const QString& t) { group->setTitle(t); });
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < list->count(); ++i) {
            const QByteArray key = "tonaraEnglishItem" + QByteArray::number(i);
            follow(key.constData(), list->itemText(i), [list, i](const QString& t) { list->setItemText(i, t); });
        }
    }
    if (w->isWindow())
        follow("tonaraEnglishTitle", w->windowTitle(), [w](const QString& t) { w->setWindowTitle(t); });
    follow("tonaraEnglishName", w->accessibleName(), [w](const QString& t) { w->setAccessibleName(t); });
}

} // namespace

void followLanguage(QWidget* window, const QString& language) {
    translateWidget(window, language);
    for (QWidget* w : window->findChildren<QWidget*>()) translateWidget(w, language);
}

void loadQtTranslations(const QString& language) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (language == QLatin1String("en")) return;
    auto* translator = new QTranslator;
    if (!translator->load(QLocale(language), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator; // without the translations Qt speaks English, as before
        return;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
}

} // namespace tonara
