#include "catalogue/aria2rpc.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

#include "catalogue/linebreak.h"

namespace Lumisong::Aria2Rpc {

namespace {

QJsonArray tokenParams(const QString &secret)
{
    QJsonArray params;
    if (!secret.isEmpty())
        params.append(QString(QStringLiteral("token:") + secret));
    return params;
}

QByteArray callJson(const Download &download, const QString &secret, const QString &dir)
{
    QJsonObject options{{QStringLiteral("out"), download.fileName}};
    if (!download.gid.isEmpty())
        options.insert(QStringLiteral("gid"), download.gid);
    if (!dir.isEmpty())
        options.insert(QStringLiteral("dir"), dir);
    QJsonArray params = tokenParams(secret);
    params.append(QJsonArray{download.address});
    params.append(options);
    const QJsonObject call{{QStringLiteral("methodName"), QStringLiteral("aria2.addUri")},
                           {QStringLiteral("params"), params}};
    return QJsonDocument(call).toJson(QJsonDocument::Compact);
}

QByteArray envelopeHead(const QByteArray &id)
{
    return R"({"jsonrpc":"2.0","id":")" + id + R"(","method":"system.multicall","params":[[)";
}

const QByteArray EnvelopeTail = "]]}";

// aria2's error object: {"code": N, "message": "..."}; null when `value` is
// none. The message goes to a terminal: on one line, without control characters.
QString errorText(const QJsonValue &value)
{
    if (!value.isObject())
        return {};
    const QJsonObject error = value.toObject();
    QString message = error.value(QLatin1StringView("message")).toString();
    std::replace_if(message.begin(), message.end(), breaksLine, u' ');
    if (!message.isEmpty())
        return message;
    return QStringLiteral("error code %1").arg(error.value(QLatin1StringView("code")).toInteger());
}

CallAnswer readCall(const QJsonValue &value)
{
    static const QRegularExpression gid(QStringLiteral("^[0-9a-fA-F]{16}$"));
    if (const QString error = errorText(value); !error.isNull())
        return {{}, error};
    // A multicall wraps each call's result in an array: addUri's is ["GID"],
    // tellStatus's [{"gid": "GID", ...}].
    const QJsonArray result = value.toArray();
    const QJsonValue only = result.size() == 1 ? result.first() : QJsonValue();
    const QString id = only.isObject() ? only.toObject().value(QLatin1StringView("gid")).toString()
                                       : only.toString();
    if (!gid.match(id).hasMatch())
        return {{}, QStringLiteral("an answer that names no download")};
    return {id, {}};
}

} // namespace

QString gidFor(const QString &siteBase, const QString &songId)
{
    const QByteArray digest = QCryptographicHash::hash((siteBase + u'\n' + songId).toUtf8(),
                                                       QCryptographicHash::Sha256);
    QByteArray gid = digest.left(8).toHex();
    // aria2 takes no GID of all zeros.
    if (gid == QByteArray(16, '0'))
        gid[15] = '1';
    return QString::fromLatin1(gid);
}

bool mayHoldGid(const QString &refusal)
{
    return refusal.contains(QLatin1StringView("is not unique"))
           || refusal == QLatin1StringView("No URI to download.");
}

Request statusRequest(const QStringList &gids, const QString &secret)
{
    Request request;
    request.id = "lumisong-status";
    request.body = envelopeHead(request.id);
    for (const QString &gid : gids) {
        QJsonArray params = tokenParams(secret);
        params.append(gid);
        params.append(QJsonArray{QStringLiteral("gid")});
        const QJsonObject call{{QStringLiteral("methodName"), QStringLiteral("aria2.tellStatus")},
                               {QStringLiteral("params"), params}};
        if (request.count++ > 0)
            request.body += ',';
        request.body += QJsonDocument(call).toJson(QJsonDocument::Compact);
    }
    request.body += EnvelopeTail;
    return request;
}

std::optional<QList<Request>> requests(const QList<Download> &downloads, const QString &secret,
                                       const QString &dir, QString *error)
{
    QList<Request> out;
    Request current;
    const auto open = [&](qsizetype first) {
        current = Request{};
        current.id = "lumisong-" + QByteArray::number(out.size() + 1);
        current.body = envelopeHead(current.id);
        current.first = first;
    };
    open(0);
    for (qsizetype i = 0; i < downloads.size(); ++i) {
        const QByteArray call = callJson(downloads.at(i), secret, dir);
        const qsizetype grown = current.body.size() + call.size() + 1 + EnvelopeTail.size();
        if (current.count > 0 && (current.count == MaxCallsPerRequest || grown > MaxRequestBytes)) {
            current.body += EnvelopeTail;
            out.append(current);
            open(i);
        }
        if (current.body.size() + call.size() + EnvelopeTail.size() > MaxRequestBytes) {
            *error = QStringLiteral("the request for download %1 is larger than %2 bytes")
                         .arg(i + 1)
                         .arg(MaxRequestBytes);
            return std::nullopt;
        }
        if (current.count > 0)
            current.body += ',';
        current.body += call;
        ++current.count;
    }
    if (current.count > 0) {
        current.body += EnvelopeTail;
        out.append(current);
    }
    return out;
}

Answer readAnswer(const QByteArray &body, const Request &request)
{
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parsed);
    if (!document.isObject())
        return {QStringLiteral("the answer is not JSON-RPC (%1)")
                    .arg(parsed.error == QJsonParseError::NoError ? QStringLiteral("no object")
                                                                  : parsed.errorString()),
                false, {}};
    const QJsonObject answer = document.object();
    if (answer.value(QLatin1StringView("jsonrpc")).toString() != u"2.0")
        return {QStringLiteral("the answer is not JSON-RPC 2.0"), false, {}};
    // An error answer may carry no id (aria2 could not read the request).
    if (const QString error = errorText(answer.value(QLatin1StringView("error"))); !error.isNull())
        return {error, true, {}};
    if (answer.value(QLatin1StringView("id")).toString().toUtf8() != request.id)
        return {QStringLiteral("the answer is not the one to this request"), false, {}};
    const QJsonValue result = answer.value(QLatin1StringView("result"));
    if (!result.isArray() || result.toArray().size() != request.count)
        return {QStringLiteral("the answer does not answer each of the %1 calls").arg(request.count),
                false, {}};
    Answer out;
    for (const QJsonValue &call : result.toArray())
        out.calls.append(readCall(call));
    return out;
}

} // namespace Lumisong::Aria2Rpc
