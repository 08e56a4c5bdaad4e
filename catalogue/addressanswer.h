#pragma once

#include <QString>

#include <optional>

namespace Lumisong {

// The site's answer to an address request, as it may be appended to the site
// base: blanks and line breaks around it are dropped. nullopt when nothing is
// left, when what is left still holds a control character, which no address
// (and no line of a list file) may carry, or when it holds bytes that are no
// GBK text.
std::optional<QString> addressFromAnswer(const QString &answer);

} // namespace Lumisong
