#include "menu/searchaddress.h"

#include <QStringEncoder>

namespace Lumisong {

namespace {

struct Endpoint
{
    const char *schemeAndHost;
    const char *beforeTerms;
    const char *afterTerms;
};

Endpoint endpointOf(SearchAddress::Site site)
{
    switch (site) {
    case SearchAddress::Site::Google:
        return {"http://www.google.com", "/search?hl=zh-CN&newwindow=1&q=", "&btn=Lumisong(Tolvane)&ie=gb2312"};
    case SearchAddress::Site::Baidu:
        return {"http://www.baidu.com", "/s?word=", "&tn=Lumisong(Tolvane)"};
    case SearchAddress::Site::BaiduMp3:
        break;
    }
    return {"http://mp3.baidu.com", "/m?&word=", "&tn=Lumisong(Tolvane)"};
}

bool isUnreserved(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
           || c == '.' || c == '_' || c == '~';
}

} // namespace

QByteArray SearchAddress::encodeTerms(const QString &terms)
{
    QStringEncoder gbk("GBK");
    // A character GBK lacks is sent as "?", as the ANSI conversion of the
    // platform would; only a missing GBK codec falls back to UTF-8.
    const QByteArray bytes = gbk.isValid() ? QByteArray(gbk.encode(terms)) : terms.toUtf8();
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        if (isUnreserved(c)) {
            out += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        }
    }
    return out;
}

QUrl SearchAddress::forSong(Site site, const QString &title, const QString &singer)
{
    const Endpoint endpoint = endpointOf(site);
    const QByteArray address = QByteArray(endpoint.schemeAndHost) + endpoint.beforeTerms
                               + encodeTerms(title + QLatin1Char(' ') + singer) + endpoint.afterTerms;
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

} // namespace Lumisong
