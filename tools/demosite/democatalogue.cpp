#include "tools/demosite/democatalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>

#include "tools/demosite/songfile.h"

namespace Lumisong {

namespace {

// Word lists for the invented songs. Some characters (喆, 堃, 镕) exist in GBK
// but not in GB2312, so a decoder that is strict GB2312 shows up at once.
const char16_t *const titleWords[] = {
    u"月光", u"思念", u"城市", u"下雨天", u"心跳", u"旅行", u"夜空", u"海风",
    u"星星", u"晴天", u"回忆", u"远方", u"Forever", u"Love", u"Dream", u"Summer",
    u"唯一", u"约定", u"告白", u"路口", u"微笑", u"蝴蝶", u"青春", u"Goodbye",
};
const char16_t *const titleEndings[] = {
    u"", u"的歌", u"之后", u"2010", u"(Remix)", u" Live", u"里的你", u"不说再见",
};
const char16_t *const singers[] = {
    u"苏小暖", u"韩墨", u"叶知秋", u"吴喆", u"李堃", u"林雨晴", u"蓝色频率",
    u"MoonWalkers", u"周一鸣", u"陈嘉怡", u"王子涵", u"Tina 唐", u"陆镕", u"Echo & 安",
};
const char16_t *const albums[] = {
    u"城南旧事", u"第一张同名专辑", u"夏日限定", u"Blue Hour", u"十年", u"单曲",
    u"新歌+精选", u"Midnight 电台", u"光年之外的信", u"原声带",
};

template <typename T, std::size_t N>
QString pick(const T (&words)[N], quint32 value)
{
    return QString::fromUtf16(words[value % N]);
}

// A small deterministic generator, so the same count gives the same songs
// on every machine.
class Sequence
{
public:
    explicit Sequence(quint32 seed) : m_state(seed * 2654435761u + 12345u) {}
    quint32 next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }

private:
    quint32 m_state;
};

} // namespace

DemoCatalogue::DemoCatalogue(int songCount)
{
    m_songs.reserve(songCount);
    for (int i = 0; i < songCount; ++i) {
        Sequence random(quint32(i) + 1);
        Song song;
        song.songId = QString::number(7300000 + i * 37 + random.next() % 37);
        song.title = pick(titleWords, random.next()) + pick(titleEndings, random.next());
        song.singer = pick(singers, random.next());
        song.album = pick(albums, random.next());
        song.releaseDate = QStringLiteral("2010-%1-%2")
                               .arg(3 + i / 400 % 9, 2, 10, QLatin1Char('0'))
                               .arg(1 + random.next() % 28, 2, 10, QLatin1Char('0'));
        const quint32 daily = random.next() % 5000;
        song.dailyDownloads = QString::number(daily);
        song.totalDownloads = QString::number(daily * (3 + random.next() % 40) + random.next() % 97);
        m_indexOfId.insert(song.songId, m_songs.size());
        m_songs.append(song);
    }
}

DemoCatalogue::DemoCatalogue(QList<Song> songs) : m_songs(std::move(songs))
{
    for (qsizetype i = 0; i < m_songs.size(); ++i)
        m_indexOfId.insert(m_songs.at(i).songId, i);
}

std::optional<DemoCatalogue> DemoCatalogue::fromListing(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject() || !document.object().value(u"songs").isArray()) {
        *error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                              : QStringLiteral("no \"songs\" array");
        return std::nullopt;
    }
    QList<Song> songs;
    for (const QJsonValue &value : document.object().value(u"songs").toArray()) {
        const QJsonObject o = value.toObject();
        Song song{o.value(u"songId").toString(),        o.value(u"title").toString(),
                  o.value(u"singer").toString(),        o.value(u"album").toString(),
                  o.value(u"releaseDate").toString(),   o.value(u"dailyDownloads").toString(),
                  o.value(u"totalDownloads").toString()};
        for (const QString *field : {&song.songId, &song.title, &song.singer, &song.album,
                                     &song.releaseDate, &song.dailyDownloads, &song.totalDownloads}) {
            if (field->contains(u'\'') || field->contains(u'}') || field->contains(u']')) {
                *error = QStringLiteral("song %1: the page cannot carry ' } or ]").arg(songs.size() + 1);
                return std::nullopt;
            }
        }
        if (song.songId.isEmpty()) {
            *error = QStringLiteral("song %1 has no songId").arg(songs.size() + 1);
            return std::nullopt;
        }
        songs.append(song);
    }
    return DemoCatalogue(std::move(songs));
}

const QList<DemoCatalogue::Song> &DemoCatalogue::songs() const
{
    return m_songs;
}

const DemoCatalogue::Song *DemoCatalogue::findSong(QStringView songId) const
{
    const auto found = m_indexOfId.constFind(songId.toString());
    return found == m_indexOfId.cend() ? nullptr : &m_songs.at(found.value());
}

QString DemoCatalogue::cataloguePage(const QString &hashedUrl) const
{
    QString page;
    page.reserve(1024 + m_songs.size() * 128);
    page += u"<!DOCTYPE html>\r\n<html><head>"
            u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
            u"<title>新歌速递 - 每日新歌</title>\r\n"
            u"<script type=\"text/javascript\">\r\n"
            u"var Data = {Nlist: {}};\r\n"
            u"var Conf = {pageSize:50, hashedurl:\""
        + hashedUrl + u"\", skin:'blue'};\r\n"
                      u"Data.Nlist.store = [";
    for (qsizetype i = 0; i < m_songs.size(); ++i) {
        const Song &s = m_songs.at(i);
        if (i > 0)
            page += u',';
        page += u"{sid:'" + s.songId + u"',ti:'" + s.title + u"',si:'" + s.singer + u"',al:'"
            + s.album + u"',da:'" + s.releaseDate + u"',dl:'" + s.dailyDownloads + u"',tl:'"
            + s.totalDownloads + u"'}";
    }
    page += u"];\r\n</script></head>\r\n<body><div id=\"list\">正在加载新歌列表...</div>"
            u"</body></html>\r\n";
    return page;
}

QString DemoCatalogue::filePath(const QString &songId)
{
    return u"/files/" + songId + u".mp3";
}

QByteArray DemoCatalogue::fileContent(const Song &song, qint64 size, int revision) const
{
    return SongFile::mp3(song.songId, size > 0 ? size : SongFile::DefaultSize, revision);
}

QString DemoCatalogue::versionPage(const QString &version)
{
    return u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
           u"<title>Lumisong 新版发布 (V"
        + version
        + u") - 软件小站</title></head>\r\n<body><div class=\"post\">"
          u"<h2>Lumisong 新歌列表生成器</h2>"
          u"<p>【本次更新】2010-04-27<br>修正了&ldquo;列表&rdquo;的显示问题<br>"
          u"增加了生成列表的进度显示</p>"
          u"<p>下载地址见下方附件。</p></div></body></html>\r\n";
}

QByteArray DemoCatalogue::toGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

} // namespace Lumisong
