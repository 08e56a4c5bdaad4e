#include "controls/button/buttonpicture.h"

#include <QFileInfo>
#include <QImageReader>

namespace Lumisong {

ButtonPicture::ButtonPicture(const QImage &image, Kind kind)
    : m_image(image.convertToFormat(QImage::Format_ARGB32))
    , m_kind(kind)
    , m_usesAlpha(kind == Kind::Bitmap && image.hasAlphaChannel())
{
}

std::shared_ptr<const ButtonPicture> ButtonPicture::fromFile(const QString &path, QString *error)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = reader.errorString();
        return nullptr;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool icon = reader.format() == "ico" || suffix == u"ico" || suffix == u"cur";
    return std::make_shared<const ButtonPicture>(image, icon ? Kind::Icon : Kind::Bitmap);
}

} // namespace Lumisong
