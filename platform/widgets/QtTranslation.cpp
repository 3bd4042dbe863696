#include "platform/widgets/QtTranslation.h"

#include "language/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// One translator for the whole application, replaced at every switch.
std::unique_ptr<QTranslator>& InstalledTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

bool UseQtTranslation(int language)
{
    std::unique_ptr<QTranslator>& installed = InstalledTranslator();
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    if (language == Language::English)
        return true;
    auto translator = std::make_unique<QTranslator>();
    // "qt" is the meta catalogue that loads qtbase and the other modules' files.
    if (!translator->load(QLocale(QLocale::Czech), QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}
