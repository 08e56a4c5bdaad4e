#include "download/songtagger.h"

#include <QFile>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/urllinkframe.h>

namespace Lumisong::SongTagger {

namespace {

TagLib::String utf8(const QString &text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

void replaceText(TagLib::ID3v2::Tag *tag, const char *id, const QString &text)
{
    tag->removeFrames(id);
    if (text.trimmed().isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    frame->setText(utf8(text));
    tag->addFrame(frame); // the tag owns it
}

} // namespace

bool wantsTag(const QString &fileName)
{
    QString name = fileName;
    if (name.endsWith(u".part"))
        name.chop(5);
    return name.endsWith(u".mp3", Qt::CaseInsensitive);
}

Result tag(const QString &path, const SongRecord &song)
{
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File file(name.constData());
    if (!file.isValid())
        return Result::Failed;
    // TagLib takes any file for MPEG; only one with frames has a length and a rate.
    const TagLib::AudioProperties *audio = file.audioProperties();
    if (!audio || audio->lengthInMilliseconds() <= 0 || audio->bitrate() <= 0)
        return Result::NotAudio;
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    replaceText(tag, "TIT2", song.title);
    replaceText(tag, "TPE1", song.singer);
    replaceText(tag, "TALB", song.album);
    replaceText(tag, "TDRC", song.releaseDate);
    tag->removeFrames("WOAF");
    if (!song.downloadUrl.isEmpty()) {
        auto *source = new TagLib::ID3v2::UrlLinkFrame("WOAF");
        source->setUrl(utf8(song.downloadUrl));
        tag->addFrame(source);
    }
    const bool saved = file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone,
                                 TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate);
    return saved ? Result::Tagged : Result::Failed;
}

} // namespace Lumisong::SongTagger
