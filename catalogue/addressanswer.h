#pragma once

#include <QString>

#include <optional>

namespace Lumisong {

// The most bytes an answer to an address request may have: an address, not
// a page. Reading stops there.
inline constexpr qint64 MaxAddressAnswerBytes = 4 * 1024;

// The site's answer to an address request, as it may be appended to the site
// base: blanks and line breaks around it are dropped, and what is left must
// be a path on the site: it starts with "/" and holds only characters that
// may stand in a URL path and query (no blank, no control character, none of
// < > " { } | \ ^ `), and no bytes that are no GBK text. nullopt otherwise,
// with *why (when given) saying what is wrong.
std::optional<QString> addressFromAnswer(const QString &answer, QString *why = nullptr);

} // namespace Lumisong
