#pragma once

namespace Lumisong {

class ButtonPainter;
struct StyleInput;

// One recipe per look. Each paints the face on the painter's canvas, calls
// the content step at its fixed point and then draws the strokes that may
// overlap the caption. Recipes only read the input.
using StylePainter = void (*)(ButtonPainter &canvas, const StyleInput &in);

// The recipe of a ButtonStyle value; nullptr for values without a look.
// Styles 0, 1, 11 and 12 share the classic family's recipe.
StylePainter painterForStyle(int style);

void paintClassicFamily(ButtonPainter &canvas, const StyleInput &in);
void paintSoftGradient(ButtonPainter &canvas, const StyleInput &in);
void paintGlass(ButtonPainter &canvas, const StyleInput &in);
void paintToolbar(ButtonPainter &canvas, const StyleInput &in);
void paintSunrise(ButtonPainter &canvas, const StyleInput &in);
void paintPale(ButtonPainter &canvas, const StyleInput &in);
void paintSky(ButtonPainter &canvas, const StyleInput &in);
void paintAmber(ButtonPainter &canvas, const StyleInput &in);
void paintSatin(ButtonPainter &canvas, const StyleInput &in);
void paintBevel(ButtonPainter &canvas, const StyleInput &in);
void paintThemed(ButtonPainter &canvas, const StyleInput &in);

} // namespace Lumisong
