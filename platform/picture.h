#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>

namespace Lumisong {

// A picture property value: the image and where it came from. Form files refer
// to pictures by path (relative to the form file, or a ":/" resource path);
// a picture made in code has no source and is saved inline as PNG data.
struct Picture
{
    QString source;
    QImage image;

    bool isNull() const { return image.isNull(); }

    // Loads `source` (resolved against `baseDirectory` when relative) or a
    // "data:image/png;base64," text. A null picture when it cannot be read or
    // names no file (a folder, a pipe, a device).
    static Picture load(const QString &source, const QString &baseDirectory);
    // The text a form file holds for this picture.
    QString toText() const;

    friend bool operator==(const Picture &a, const Picture &b)
    {
        return a.source == b.source && a.image == b.image;
    }
};

} // namespace Lumisong

Q_DECLARE_METATYPE(Lumisong::Picture)
