#include "catalogue/listformat.h"

#include <QStringEncoder>

#include <algorithm>

#include "catalogue/linebreak.h"
#include "catalogue/safefilename.h"
#include "catalogue/songjson.h"
#include "platform/jsontext.h"

namespace Lumisong::ListFormats {

QStringList aria2Names(const std::vector<ListEntry> &entries)
{
    std::vector<SongRecord> songs;
    songs.reserve(entries.size());
    for (const ListEntry &entry : entries)
        songs.push_back(entry.song);
    return SafeFileName::forList(songs);
}

namespace {

const QLatin1StringView LstTrailer("//By Tolvane");

bool holdsLineBreak(const QString &line)
{
    return line.contains(u'\r') || line.contains(u'\n');
}

// The label on one line of its own: control characters and line or
// paragraph separators become blanks.
QString oneLine(QString text)
{
    std::replace_if(text.begin(), text.end(), breaksLine, u' ');
    return text;
}

std::optional<QByteArray> encodeLst(const std::vector<ListEntry> &entries, QString *error)
{
    QString text;
    for (const ListEntry &entry : entries)
        text += entry.song.downloadUrl + u"\r\n";
    text += LstTrailer + u"\r\n";
    QStringEncoder encoder("GBK");
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        *error = QStringLiteral("an address holds a character that GBK cannot hold");
        return std::nullopt;
    }
    return bytes;
}

QString encodeUrls(const std::vector<ListEntry> &entries)
{
    QString text;
    for (const ListEntry &entry : entries)
        text += entry.song.downloadUrl + u'\n';
    return text;
}

QString encodeAria2(const std::vector<ListEntry> &entries)
{
    const QStringList names = aria2Names(entries);
    QString text;
    for (size_t i = 0; i < entries.size(); ++i)
        text += entries[i].song.downloadUrl + u"\n  out=" + names.at(qsizetype(i)) + u'\n';
    return text;
}

QString encodeM3u8(const std::vector<ListEntry> &entries)
{
    QString text = QStringLiteral("#EXTM3U\n");
    for (const ListEntry &entry : entries) {
        text += u"#EXTINF:-1," + oneLine(SafeFileName::songLabel(entry.song)) + u'\n';
        text += entry.song.downloadUrl + u'\n';
    }
    return text;
}

QString encodeJson(const std::vector<ListEntry> &entries)
{
    QString text = QStringLiteral("{\"songs\": [");
    for (size_t i = 0; i < entries.size(); ++i) {
        const ListEntry &entry = entries[i];
        if (i > 0)
            text += u", ";
        text += u"{\"row\": " + QString::number(entry.row) + u", ";
        SongJson::appendFields(text, entry.song);
        text += u", ";
        JsonText::appendMember(text, u"downloadUrl", entry.song.downloadUrl);
        text += u'}';
    }
    text += u"]}\n";
    return text;
}

} // namespace

QStringList names()
{
    return {QStringLiteral("lst"), QStringLiteral("urls"), QStringLiteral("aria2"),
            QStringLiteral("m3u8"), QStringLiteral("json")};
}

QString name(ListFormat format)
{
    return names().at(qsizetype(format));
}

std::optional<ListFormat> fromName(QStringView name)
{
    const qsizetype index = names().indexOf(name);
    if (index < 0)
        return std::nullopt;
    return ListFormat(index);
}

std::optional<QByteArray> encode(ListFormat format, const std::vector<ListEntry> &entries,
                                 QString *error)
{
    for (const ListEntry &entry : entries) {
        if (holdsLineBreak(entry.song.downloadUrl)) {
            *error = QStringLiteral("the address of row %1 holds a line break").arg(entry.row);
            return std::nullopt;
        }
    }
    switch (format) {
    case ListFormat::Lst:
        return encodeLst(entries, error);
    case ListFormat::Urls:
        return encodeUrls(entries).toUtf8();
    case ListFormat::Aria2:
        return encodeAria2(entries).toUtf8();
    case ListFormat::M3u8:
        return encodeM3u8(entries).toUtf8();
    case ListFormat::Json:
        return encodeJson(entries).toUtf8();
    }
    *error = QStringLiteral("unknown list format");
    return std::nullopt;
}

} // namespace Lumisong::ListFormats
