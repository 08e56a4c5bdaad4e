#include "platform/picture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

namespace Lumisong {

namespace {

const QLatin1String InlinePrefix("data:image/png;base64,");

} // namespace

Picture Picture::load(const QString &source, const QString &baseDirectory)
{
    Picture picture;
    if (source.startsWith(InlinePrefix)) {
        const QByteArray data = QByteArray::fromBase64(source.mid(InlinePrefix.size()).toLatin1());
        picture.image.loadFromData(data, "PNG");
    } else {
        const QString path = source.startsWith(QLatin1String(":/")) || QDir::isAbsolutePath(source)
                                 ? source
                                 : QDir(baseDirectory).filePath(source);
        // Only files are pictures: reading a pipe or a device could wait forever.
        if (QFileInfo(path).isFile())
            picture.image.load(path);
    }
    if (!picture.image.isNull())
        picture.source = source;
    return picture;
}

QString Picture::toText() const
{
    if (!source.isEmpty() || image.isNull())
        return source;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return InlinePrefix + QString::fromLatin1(data.toBase64());
}

} // namespace Lumisong
