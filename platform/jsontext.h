#pragma once

#include <QString>
#include <QStringView>

// The text escapes of the headless outputs: the TAB-separated listing and the
// JSON objects.
namespace Lumisong::JsonText {

// "\t", "\r", "\n" or "\\" for TAB, CR, LF and backslash, which both the
// listing and JSON escape; null for any other character.
const char16_t *sharedEscape(char16_t c);

// `value` as a JSON string, quotes included.
void appendString(QString &out, const QString &value);
// "key": "value"
void appendMember(QString &out, QStringView key, const QString &value);

} // namespace Lumisong::JsonText
