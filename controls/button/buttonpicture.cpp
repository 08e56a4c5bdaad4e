#include "controls/button/buttonpicture.h"

namespace Lumisong {

namespace {

ButtonPicture::Kind kindOf(const Picture &picture)
{
    const QString source = picture.source.toLower();
    return source.endsWith(u".ico") || source.endsWith(u".cur") ? ButtonPicture::Kind::Icon
                                                                : ButtonPicture::Kind::Bitmap;
}

} // namespace

ButtonPicture::ButtonPicture(const Picture &picture)
    : m_picture(picture)
    , m_pixels(picture.image.convertToFormat(QImage::Format_ARGB32))
    , m_kind(kindOf(picture))
    , m_usesAlpha(m_kind == Kind::Bitmap && picture.image.hasAlphaChannel())
{
}

std::shared_ptr<const ButtonPicture> ButtonPicture::from(const Picture &picture)
{
    if (picture.isNull())
        return nullptr;
    return std::make_shared<const ButtonPicture>(picture);
}

} // namespace Lumisong
