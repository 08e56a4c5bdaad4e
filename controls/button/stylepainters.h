#pragma once

#include <QRegion>

#include <optional>

namespace Lumisong {

class ButtonPainter;
struct StyleInput;

// The window shape a look gives; none where the look keeps the shape it has.
using StyleShape = std::optional<QRegion>;

// One recipe per look. Each paints the face on the painter's canvas, calls
// the content step at its fixed point and then draws the strokes that may
// overlap the caption. Recipes only read the input, and return the shape.
using StylePainter = StyleShape (*)(ButtonPainter &canvas, const StyleInput &in);

// The recipe of a style number; nullptr for values without a look.
// Styles 0, 1, 11 and 12 share the classic family's recipe.
StylePainter painterForStyle(int style);

StyleShape paintClassicFamily(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintSoftGradient(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintGlass(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintToolbar(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintSunrise(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintPale(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintSky(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintAmber(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintSatin(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintBevel(ButtonPainter &canvas, const StyleInput &in);
StyleShape paintThemed(ButtonPainter &canvas, const StyleInput &in);

} // namespace Lumisong
