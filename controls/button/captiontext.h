#pragma once

#include <QSize>
#include <QString>

#include "platform/colour.h"
#include "platform/pixelrect.h"

class QFont;
class QImage;
class QPainter;

namespace Lumisong {

// Caption text as the platform's text call measures and draws it: words wrap
// at the given width (a single long word is not broken), "&" underlines the
// next character and "&&" shows one "&", lines are centred against one
// another, and right-to-left reading is optional. Drawing clips to the
// rectangle.
class CaptionText
{
public:
    // The size of the wrapped caption; 0 x 0 for an empty one.
    static QSize measure(const QFont &font, const QString &caption, int wrapWidth, bool rightToLeft);

    // Draws into rect with the painter's font; the painter must be active.
    static void draw(QPainter &painter, const QString &caption, const PixelRect &rect, Colour colour,
                     bool rightToLeft);

private:
    static int flags();
    // Pixels of room beside the measured rectangle when lines are laid out for drawing.
    static constexpr int WrapRoom = 1;
};

} // namespace Lumisong
