#pragma once

#include <QString>

namespace Lumisong {

// Qt's own texts (the standard buttons of message boxes, the file dialog) in
// the language of the program's interface, whatever the system's locale.
class QtTranslations
{
public:
    // The interface's language.
    static constexpr QStringView InterfaceLocale = u"zh_CN";

    // Loads Qt's translations for `locale` from Qt's translations folder and
    // installs them in the running application, which owns them. False when
    // they are not installed (Debian: qt6-translations-l10n); Qt's English
    // texts stay then. The program's own translation of the texts Qt's lacks
    // (built in) is installed after Qt's.
    static bool install(const QString &locale = InterfaceLocale.toString());
};

} // namespace Lumisong
