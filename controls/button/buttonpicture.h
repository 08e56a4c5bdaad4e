#pragma once

#include <QImage>
#include <QString>

#include <memory>

namespace Lumisong {

// One picture of the skinned button: a bitmap or an icon, shared between the
// slots and the property bag by reference. A bitmap with an alpha channel
// (a PNG with alpha) is composed by its alpha; other bitmaps are keyed by the
// mask colour; an icon is laid over light grey first and keyed by that grey.
class ButtonPicture
{
public:
    enum class Kind { Bitmap, Icon };

    ButtonPicture(const QImage &image, Kind kind);

    // nullptr and a reason in *error when the file cannot be read as a picture.
    static std::shared_ptr<const ButtonPicture> fromFile(const QString &path, QString *error);

    Kind kind() const { return m_kind; }
    bool usesAlpha() const { return m_usesAlpha; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool isNull() const { return m_image.isNull() || m_image.width() == 0 || m_image.height() == 0; }

    // Non-premultiplied ARGB32 pixels.
    const QImage &image() const { return m_image; }

private:
    QImage m_image;
    Kind m_kind;
    bool m_usesAlpha;
};

using ButtonPicturePtr = std::shared_ptr<const ButtonPicture>;

} // namespace Lumisong
