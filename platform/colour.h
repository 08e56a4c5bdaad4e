#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace Lumisong {

// A colour as the controls store it: 0x00BBGGRR, red in the low byte. A value of
// the form 0x800000nn names system colour nn and must be translated (resolved())
// before it is drawn. Any 32-bit value can be held, so a stored value survives
// a save/load round trip unchanged.
class Colour
{
public:
    // Translation failed (an unknown system colour): the value -1.
    static constexpr quint32 Invalid = 0xFFFFFFFFu;

    constexpr Colour() = default;
    constexpr explicit Colour(quint32 value) : m_value(value) {}

    static constexpr Colour rgb(int red, int green, int blue)
    {
        return Colour(quint32(red & 0xFF) | quint32(green & 0xFF) << 8 | quint32(blue & 0xFF) << 16);
    }
    static constexpr Colour system(int index) { return Colour(0x80000000u | quint32(index & 0xFF)); }

    constexpr quint32 value() const { return m_value; }
    constexpr int red() const { return int(m_value & 0xFF); }
    constexpr int green() const { return int((m_value >> 8) & 0xFF); }
    constexpr int blue() const { return int((m_value >> 16) & 0xFF); }

    constexpr bool isSystem() const { return (m_value & 0xFFFFFF00u) == 0x80000000u; }
    constexpr int systemIndex() const { return int(m_value & 0xFF); }

    // Plain colours come back unchanged, system colours through SystemColours;
    // anything else with high bits set (and unknown system indices) gives Invalid.
    Colour resolved() const;

    // The surface's pixel value (0xFFRRGGBB) of the low three bytes.
    constexpr quint32 toPixel() const
    {
        return 0xFF000000u | quint32(red()) << 16 | quint32(green()) << 8 | quint32(blue());
    }
    static constexpr Colour fromPixel(quint32 pixel)
    {
        return rgb(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
    }

    // "rgb(r, g, b)" for plain colours, "0x8000000F"-style hex otherwise.
    QString toText() const;
    // Accepts "rgb(r, g, b)", decimal and 0x hex; nothing on malformed text.
    static std::optional<Colour> fromText(const QString &text);

    friend constexpr bool operator==(Colour, Colour) = default;

private:
    quint32 m_value = 0;
};

} // namespace Lumisong

Q_DECLARE_METATYPE(Lumisong::Colour)
