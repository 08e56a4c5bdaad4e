#include "net/modgetcode.h"

#include <QNetworkAccessManager>
#include <QStringDecoder>
#include <QUrl>

#include "net/fetchlimits.h"
#include "net/gbkdecoder.h"
#include "net/loopbackproxyfactory.h"
#include "net/pagerequest.h"

namespace Lumisong {

namespace {

bool isCodePage936(const QString &charset)
{
    for (const char *name : {"gb2312", "gbk", "cp936", "windows-936", "x-gbk"}) {
        if (charset.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

FetchResult fetchPage(const QString &url, const QString &charset)
{
    // A client of its own for every fetch: no connection or failure of an earlier
    // request can leak into this one (a reused connection that the server had
    // already closed fails the next request).
    QNetworkAccessManager manager;
    manager.setProxyFactory(new LoopbackProxyFactory); // the manager owns it
    PageRequest request(&manager, fetchLimits());
    PageRequest::Outcome outcome = request.run(QUrl(url));
    if (!outcome.ok)
        return {false, {}, outcome.error};
    if (outcome.body.isEmpty())
        return {true, {}, {}};
    std::optional<QString> text = decodeBytes(outcome.body, charset);
    if (!text)
        return {false, {}, QStringLiteral("unknown character set: %1").arg(charset)};
    return {true, std::move(*text), {}};
}

std::optional<QString> decodeBytes(const QByteArray &bytes, const QString &charset)
{
    if (isCodePage936(charset))
        return GbkDecoder::decode(bytes);
    QStringDecoder decoder(charset.toLatin1().constData());
    if (!decoder.isValid())
        return std::nullopt;
    return QString(decoder.decode(bytes));
}

QString textBetween(QStringView text, QStringView startMarker, QStringView endMarker)
{
    const qsizetype start = text.indexOf(startMarker);
    if (start < 0)
        return {};
    const qsizetype from = start + startMarker.size();
    const qsizetype end = text.indexOf(endMarker, from);
    if (end < 0)
        return {};
    return text.sliced(from, end - from).toString();
}

} // namespace Lumisong
