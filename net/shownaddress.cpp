#include "net/shownaddress.h"

namespace Lumisong {

QString shownAddress(const QUrl &url)
{
    if (url.password().isEmpty())
        return url.toString();
    QUrl shown = url;
    shown.setPassword(QStringLiteral("***"));
    return shown.toString();
}

QString shownAddress(const QString &address)
{
    const QUrl url(address);
    // An address QUrl cannot read may still hold a password: show none of
    // what lies between the scheme and the last "@" before the path.
    if (!url.isValid()) {
        const qsizetype scheme = address.indexOf(u"://");
        const qsizetype path = address.indexOf(u'/', scheme < 0 ? 0 : scheme + 3);
        const qsizetype at = address.lastIndexOf(u'@', path < 0 ? -1 : path);
        if (scheme >= 0 && at > scheme)
            return address.left(scheme + 3) + u"***" + address.mid(at);
        return address;
    }
    return url.password().isEmpty() ? address : shownAddress(url);
}

} // namespace Lumisong
