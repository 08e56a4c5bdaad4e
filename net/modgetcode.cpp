#include "net/modgetcode.h"

#include <memory>

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QStringDecoder>
#include <QThread>
#include <QUrl>

#include "net/fetchlimits.h"
#include "net/gbkdecoder.h"
#include "net/loopbackproxyfactory.h"
#include "net/pagerequest.h"

namespace Lumisong {

namespace {

std::unique_ptr<QNetworkAccessManager> newManager()
{
    auto manager = std::make_unique<QNetworkAccessManager>();
    manager->setProxyFactory(new LoopbackProxyFactory); // the manager owns it
    return manager;
}

// The application thread keeps one manager (and its connections) for the whole
// run, owned by the application object. Other threads get one per fetch.
QNetworkAccessManager *applicationManager()
{
    static QPointer<QNetworkAccessManager> shared;
    if (!shared) {
        shared = newManager().release();
        shared->setParent(QCoreApplication::instance());
    }
    return shared;
}

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
    std::unique_ptr<QNetworkAccessManager> ownManager;
    QNetworkAccessManager *manager = nullptr;
    QCoreApplication *app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread()) {
        manager = applicationManager();
    } else {
        ownManager = newManager();
        manager = ownManager.get();
    }

    PageRequest request(manager, fetchLimits());
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
