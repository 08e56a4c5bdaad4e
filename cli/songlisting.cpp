#include "cli/songlisting.h"

#include <QString>

#include "catalogue/catalogue.h"
#include "catalogue/songjson.h"
#include "platform/jsontext.h"

namespace Lumisong::SongListing {

namespace {

void appendEscapedField(QString &out, const QString &value)
{
    for (const QChar c : value) {
        if (const char16_t *escape = JsonText::sharedEscape(c.unicode()))
            out += QStringView(escape);
        else
            out += c;
    }
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
    JsonText::appendMember(out, u"hashedUrl", catalogue.hashedUrl());
    out += u", \"songs\": [";
    for (int slot = 0; slot < catalogue.songCount(); ++slot) {
        if (slot > 0)
            out += u", ";
        out += u'{';
        SongJson::appendFields(out, catalogue.song(slot));
        out += u'}';
    }
    out += u"]}\n";
    return out.toUtf8();
}

} // namespace Lumisong::SongListing
