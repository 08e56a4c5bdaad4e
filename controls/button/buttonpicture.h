#pragma once

#include <QImage>
#include <QMetaType>

#include <memory>

#include "platform/picture.h"

namespace Lumisong {

// One picture of the skinned button, shared by reference between its slots
// and the property bag. A bitmap with an alpha channel (a PNG with alpha) is
// composed by its alpha; other bitmaps are keyed by the mask colour; an icon
// (.ico, .cur) is laid over light grey first and keyed by that grey.
class ButtonPicture
{
public:
    enum class Kind { Bitmap, Icon };

    explicit ButtonPicture(const Picture &picture);

    // nullptr for a null picture.
    static std::shared_ptr<const ButtonPicture> from(const Picture &picture);

    const Picture &picture() const { return m_picture; }
    Kind kind() const { return m_kind; }
    bool usesAlpha() const { return m_usesAlpha; }
    int width() const { return m_pixels.width(); }
    int height() const { return m_pixels.height(); }
    bool isNull() const { return m_pixels.isNull() || width() == 0 || height() == 0; }

    // Non-premultiplied ARGB32 pixels.
    const QImage &pixels() const { return m_pixels; }

private:
    Picture m_picture;
    QImage m_pixels;
    Kind m_kind;
    bool m_usesAlpha;
};

using ButtonPicturePtr = std::shared_ptr<const ButtonPicture>;

} // namespace Lumisong

Q_DECLARE_METATYPE(Lumisong::ButtonPicturePtr)
