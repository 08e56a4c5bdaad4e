#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <optional>

namespace Lumisong {

// Property values written as text on a command line: integers in decimal or 0x
// hex (hex gives the 32 bits as they stand), booleans true/false, colours also
// as rgb(r, g, b), fonts as Face,points[,bold], pictures as image file paths,
// text as given.
class PropertyText
{
public:
    // The value for a property of `type`; nothing with *error set when the text is
    // malformed or the type is not one a control property has.
    static std::optional<QVariant> parse(const QString &text, QMetaType type,
                                         const QString &baseDirectory, QString *error);
    static std::optional<qint32> parseInteger(const QString &text);
};

} // namespace Lumisong
