#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

#include "net/fetchresult.h"

namespace Lumisong {

// GET of an http or https address; the body is decoded with the caller's charset,
// never with the one the server declares. Waits in a nested QEventLoop: still
// used by the headless runs only (through Catalogue::loadCatalogue and
// CheckForUpdate), which go over to PageRequest and its finished() signal.
// Redirects are followed within FetchLimits.
FetchResult fetchPage(const QString &url, const QString &charset);

// "gb2312" (any case), "gbk" and "cp936" decode as code page 936; other names go
// to QStringDecoder. Invalid bytes become U+FFFD. nullopt: the charset is unknown.
std::optional<QString> decodeBytes(const QByteArray &bytes, const QString &charset);

// The characters after the first startMarker up to the next endMarker after it;
// empty when either is missing. Exact, case-sensitive comparison.
QString textBetween(QStringView text, QStringView startMarker, QStringView endMarker);

} // namespace Lumisong
