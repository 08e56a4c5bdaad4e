#pragma once

namespace Lumisong {

class ButtonPainter;

// One recipe per look. Each paints the face, calls the content step at its
// fixed point and then draws the strokes that may overlap the caption.
using StylePainter = void (*)(ButtonPainter &painter, int state);

// The recipe of a ButtonStyle value; nullptr for values without a look.
// Styles 0, 1, 11 and 12 share the classic family's recipe.
StylePainter painterForStyle(int style);

void paintClassicFamily(ButtonPainter &painter, int state);
void paintSoftGradient(ButtonPainter &painter, int state);
void paintGlass(ButtonPainter &painter, int state);
void paintToolbar(ButtonPainter &painter, int state);
void paintSunrise(ButtonPainter &painter, int state);
void paintPale(ButtonPainter &painter, int state);
void paintSky(ButtonPainter &painter, int state);
void paintAmber(ButtonPainter &painter, int state);
void paintSatin(ButtonPainter &painter, int state);
void paintBevel(ButtonPainter &painter, int state);
void paintThemed(ButtonPainter &painter, int state);

} // namespace Lumisong
