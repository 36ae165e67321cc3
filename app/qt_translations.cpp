// Qt's own texts and the program's dates and numbers, in the program's language.
#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace quorvane::app {

namespace {

QLocale& currentLocale()
{
    // The program speaks Italian before any language is chosen.
    static QLocale locale(QLocale::Italian, QLocale::Italy);
    return locale;
}

QPointer<QTranslator>& installedTranslator()
{
    static QPointer<QTranslator> translator;
    return translator;
}

} // namespace

bool setQtLanguage(const QLocale& locale)
{
    currentLocale() = locale;
    // Only one language at a time: Qt would look a text up in the newest translator
    // first and fall back to the older one for the texts the new one lacks.
    if (QTranslator* old = installedTranslator()) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return true; // Qt's texts are English already
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installedTranslator() = translator;
    return true;
}

QLocale programLocale()
{
    return currentLocale();
}

} // namespace quorvane::app
