#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

class QObject;

namespace Lumisong {

class PageRequest;

// Starts the GET of a page, its body to be decoded with `charset`: the request
// (owned by `owner`) ends with its finished() from the event loop, so the
// caller goes on from there and every other handler keeps running meanwhile.
PageRequest *fetchPage(const QString &url, const QString &charset, QObject *owner);

// "gb2312" (any case), "gbk" and "cp936" decode as code page 936; other names go
// to QStringDecoder. Invalid bytes become U+FFFD. nullopt: the charset is unknown.
std::optional<QString> decodeBytes(const QByteArray &bytes, const QString &charset);

// The characters after the first startMarker up to the next endMarker after it;
// empty when either is missing. Exact, case-sensitive comparison.
QString textBetween(QStringView text, QStringView startMarker, QStringView endMarker);

} // namespace Lumisong
