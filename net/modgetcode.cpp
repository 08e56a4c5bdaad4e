#include "net/modgetcode.h"

#include <QStringDecoder>

#include "net/gbkdecoder.h"
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

PageRequest *fetchPage(const QString &url, const QString &charset, QObject *owner)
{
    auto *request = new PageRequest(url, charset, owner);
    request->start();
    return request;
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
