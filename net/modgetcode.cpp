#include "net/modgetcode.h"

#include <QEventLoop>
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

FetchResult fetchPage(const QString &url, const QString &charset)
{
    PageRequest request(url, charset);
    QEventLoop loop;
    QObject::connect(&request, &PageRequest::finished, &loop, &QEventLoop::quit);
    request.start();
    loop.exec();
    // The loop also ends when the application quits (every event loop of the
    // thread is told to exit then) or cannot run at all: never report a
    // request that is still under way as complete.
    if (!request.isFinished())
        request.abort(QStringLiteral("the wait ended before the answer"));
    return request.result();
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
