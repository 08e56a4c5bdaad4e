#pragma once

#include <QFont>
#include <QMetaType>
#include <QString>

#include <optional>

namespace Lumisong {

// A font as the controls store it in their saved properties: face, size in
// points, style and the character set the design was made for. The character
// set has no effect on drawing here; it is kept so that saved files round-trip.
struct FontDescription
{
    // Character set numbers as saved files hold them.
    static constexpr int DefaultCharset = 1;
    static constexpr int GB2312Charset = 134;

    QString face;
    double points = 9.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int charset = DefaultCharset;

    // The host form's font, which controls take as their ambient font: 宋体, 9 pt, GB2312.
    static FontDescription ambient();

    QFont toQFont() const;

    // "Face,points[,bold]" as the preview tool takes it; nothing on malformed text.
    static std::optional<FontDescription> fromText(const QString &text);

    friend bool operator==(const FontDescription &, const FontDescription &) = default;
};

} // namespace Lumisong

Q_DECLARE_METATYPE(Lumisong::FontDescription)
