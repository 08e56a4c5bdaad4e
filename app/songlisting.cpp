#include "app/songlisting.h"

#include <QString>

#include <iterator>
#include <utility>

#include "catalogue/catalogue.h"

namespace Lumisong::SongListing {

namespace {

// The escapes both listings share: TAB, CR, LF and backslash.
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

void appendEscapedField(QString &out, const QString &value)
{
    for (const QChar c : value) {
        if (const char16_t *escape = sharedEscape(c.unicode()))
            out += QStringView(escape);
        else
            out += c;
    }
}

void appendJsonString(QString &out, const QString &value)
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

void appendJsonMember(QString &out, QStringView key, const QString &value)
{
    out += u'"';
    out += key;
    out += u"\": ";
    appendJsonString(out, value);
}

} // namespace

QByteArray asText(const Catalogue &catalogue)
{
    QString out;
    out.reserve(catalogue.songCount() * 96);
    for (int slot = 0; slot < catalogue.songCount(); ++slot) {
        const SongRecord &s = catalogue.song(slot);
        out += QString::number(slot + 1);
        for (const QString *field : {&s.releaseDate, &s.title, &s.singer, &s.album,
                                     &s.dailyDownloads, &s.totalDownloads}) {
            out += u'\t';
            appendEscapedField(out, *field);
        }
        out += u'\n';
    }
    return out.toUtf8();
}

QByteArray asJson(const Catalogue &catalogue)
{
    QString out;
    out.reserve(catalogue.songCount() * 192);
    out += u'{';
    appendJsonMember(out, u"hashedUrl", catalogue.hashedUrl());
    out += u", \"songs\": [";
    for (int slot = 0; slot < catalogue.songCount(); ++slot) {
        const SongRecord &s = catalogue.song(slot);
        if (slot > 0)
            out += u", ";
        const std::pair<QStringView, const QString *> members[] = {
            {u"songId", &s.songId},
            {u"releaseDate", &s.releaseDate},
            {u"title", &s.title},
            {u"singer", &s.singer},
            {u"album", &s.album},
            {u"dailyDownloads", &s.dailyDownloads},
            {u"totalDownloads", &s.totalDownloads},
        };
        out += u'{';
        for (size_t i = 0; i < std::size(members); ++i) {
            if (i > 0)
                out += u", ";
            appendJsonMember(out, members[i].first, *members[i].second);
        }
        out += u'}';
    }
    out += u"]}\n";
    return out.toUtf8();
}

} // namespace Lumisong::SongListing
