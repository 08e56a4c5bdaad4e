#include "platform/jsontext.h"

namespace Lumisong::JsonText {

const char16_t *sharedEscape(char16_t c)
{
    switch (c) {
    case u'\t':
        return u"\\t";
    case u'\r':
        return u"\\r";
    case u'\n':
        return u"\\n";
    case u'\\':
        return u"\\\\";
    default:
        return nullptr;
    }
}

void appendString(QString &out, const QString &value)
{
    out += u'"';
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (const char16_t *escape = sharedEscape(u))
            out += QStringView(escape);
        else if (u == u'"')
            out += u"\\\"";
        // Other control characters, and U+2028/U+2029 that some JSON readers
        // embedded in scripts trip over.
        else if (u < 0x20 || u == 0x2028 || u == 0x2029)
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    out += u'"';
}

void appendMember(QString &out, QStringView key, const QString &value)
{
    out += u'"';
    out += key;
    out += u"\": ";
    appendString(out, value);
}

} // namespace Lumisong::JsonText
