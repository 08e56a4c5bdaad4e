#include "catalogue/safefilename.h"

#include <QSet>
#include <QUrl>

namespace Lumisong::SafeFileName {

namespace {

const QString FallbackExtension = QStringLiteral("mp3");
const QString LastResortStem = QStringLiteral("song");

bool isForbidden(char32_t c)
{
    switch (c) {
    case U'/':
    case U'\\':
    case U':':
    case U'*':
    case U'?':
    case U'"':
    case U'<':
    case U'>':
    case U'|':
        return true;
    default:
        return QChar::category(c) == QChar::Other_Control;
    }
}

bool isTrimmed(QChar c)
{
    return c == u'.' || c.isSpace();
}

QString trimBlanksAndDots(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// One character of `text` at `i`: a surrogate pair counts as one.
qsizetype characterLength(const QString &text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
               ? 2
               : 1;
}

QString replaceForbidden(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = characterLength(text, i);
        const QChar c = text.at(i);
        const bool lone = length == 1 && c.isSurrogate();
        if (lone || (length == 1 && isForbidden(c.unicode())))
            out += u'_';
        else
            out += QStringView(text).sliced(i, length);
        i += length;
    }
    return out;
}

int utf8Length(const QString &text, qsizetype i, qsizetype length)
{
    if (length == 2)
        return 4;
    const char16_t c = text.at(i).unicode();
    return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
}

// The longest start of `text` of at most maxBytes of UTF-8, whole characters only.
QString cutToBytes(const QString &text, int maxBytes)
{
    int bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype length = characterLength(text, i);
        bytes += utf8Length(text, i, length);
        if (bytes > maxBytes)
            break;
        i += length;
    }
    return text.left(i);
}

QString cleanStem(const QString &text, int maxBytes)
{
    // Trimmed again after the cut: it may end the stem on a blank or a dot.
    return trimBlanksAndDots(cutToBytes(trimBlanksAndDots(replaceForbidden(text)), maxBytes));
}

QString stemOf(const SongRecord &song)
{
    for (const QString &source : {songLabel(song), song.songId}) {
        const QString stem = cleanStem(source, MaxStemBytes);
        if (!stem.isEmpty())
            return stem;
    }
    return LastResortStem;
}

bool isAsciiLetterOrDigit(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

} // namespace

QString songLabel(const SongRecord &song)
{
    const QString singer = song.singer.trimmed();
    const QString title = song.title.trimmed();
    if (singer.isEmpty() || title.isEmpty())
        return singer + title;
    return singer + u" - " + title;
}

QString extensionOf(const QString &address)
{
    const QString path = QUrl(address).path(QUrl::FullyDecoded);
    const QString segment = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = segment.lastIndexOf(u'.');
    if (dot < 0)
        return FallbackExtension;
    const QString extension = segment.mid(dot + 1);
    if (extension.isEmpty() || extension.size() > 5)
        return FallbackExtension;
    for (const QChar c : extension) {
        if (!isAsciiLetterOrDigit(c))
            return FallbackExtension;
    }
    return extension;
}

QString forSong(const SongRecord &song)
{
    return stemOf(song) + u'.' + extensionOf(song.downloadUrl);
}

QStringList forList(const std::vector<SongRecord> &songs)
{
    QStringList names;
    names.reserve(qsizetype(songs.size()));
    QSet<QString> taken;
    for (const SongRecord &song : songs) {
        const QString stem = stemOf(song);
        const QString extension = u'.' + extensionOf(song.downloadUrl);
        QString name = stem + extension;
        for (int n = 2; taken.contains(name.toCaseFolded()); ++n) {
            const QString number = QStringLiteral(" (%1)").arg(n);
            name = cleanStem(stem, MaxStemBytes - int(number.size())) + number + extension;
        }
        taken.insert(name.toCaseFolded());
        names << name;
    }
    return names;
}

QString numbered(const QString &fileName, int n)
{
    if (n < 2)
        return fileName;
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString stem = dot < 0 ? fileName : fileName.left(dot);
    const QString extension = dot < 0 ? QString() : fileName.mid(dot);
    const QString number = QStringLiteral(" (%1)").arg(n);
    return cleanStem(stem, MaxStemBytes - int(number.size())) + number + extension;
}

} // namespace Lumisong::SafeFileName
