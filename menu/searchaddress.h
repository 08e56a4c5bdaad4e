#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace Lumisong {

// Web-search addresses for a song. Scheme and host are constants of the
// program; the terms "title singer" are converted to GBK and every byte that
// is not an unreserved ASCII character (letters, digits, "-", ".", "_", "~")
// is percent-encoded, so a title holding "&", "#", "?", "+", "%", "=" or a
// blank is searched whole and cannot add parameters of its own. Google is
// told the terms' charset (ie=gb2312), as it would read them as UTF-8.
class SearchAddress
{
public:
    enum class Site { Google, Baidu, BaiduMp3 };

    static QUrl forSong(Site site, const QString &title, const QString &singer);
    static QByteArray encodeTerms(const QString &terms); // GBK bytes, percent-encoded
};

} // namespace Lumisong
