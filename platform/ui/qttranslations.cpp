#include "platform/ui/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace Lumisong {

bool QtTranslations::install(const QString &locale)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    auto *translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_") + locale,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    // Ours after Qt's: the translator installed last is asked first.
    auto *own = new QTranslator(app);
    if (!own->load(QStringLiteral(":/translations/lumisong_") + locale)
        || !QCoreApplication::installTranslator(own))
        delete own;
    return true;
}

} // namespace Lumisong
