#pragma once

#include <QtGlobal>

namespace Lumisong::Twips {

// Forms are laid out in twips: 1440 per inch, so 15 per pixel at 96 dpi.
inline constexpr int PerInch = 1440;
inline constexpr qreal DefaultDpi = 96.0;

// Rounds to the nearest pixel (half away from zero).
int toPixels(int twips, qreal dpi);
qreal toPixelsF(qreal twips, qreal dpi);
int fromPixels(int pixels, qreal dpi);

// The logical dpi of the primary screen, DefaultDpi without one.
qreal screenDpi();
int toPixels(int twips);
int fromPixels(int pixels);

} // namespace Lumisong::Twips
