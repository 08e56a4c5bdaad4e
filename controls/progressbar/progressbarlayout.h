#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

#include "controls/progressbar/progressbarpalette.h"
#include "controls/progressbar/progressbarstate.h"
#include "platform/pixelrect.h"

namespace Lumisong {

// Where everything of a progress bar goes, from its state and size alone.
// All coordinates are pixels of the bar's surface; rounding is to the nearest
// integer with halves going to the even neighbour.
struct ProgressBarLayout
{
    // One two-colour gradient; `direction` 1 runs top to bottom, 0 left to right.
    struct Band
    {
        PixelRect rect; // right and bottom exclusive
        ProgressBarPalette::Slot start;
        ProgressBarPalette::Slot end;
        int direction;
    };

    // One pass of the caption effect: the whole text drawn at an offset in one ink.
    struct CaptionPass
    {
        enum Ink { Text, Effect, Grey };
        QPoint offset;
        Ink ink;
    };

    double percent = 0; // Value * 100 / Max; Min plays no part
    int fill = 0;       // filled pixels along the bar's direction
    QList<Band> bands;  // background halves, then fill halves when Value >= 1
    PixelRect shape;    // the window shape's box, rounded by the corner ellipse
    PixelRect border;   // the border outline's box (one smaller: it lies inside it)
    int ellipse = 0;
    std::optional<QString> caption; // nothing when TextStyle shows none

    static ProgressBarLayout compute(const ProgressBarState &state, QSize size);

    // The caption text of the three text styles; nothing for any other style.
    static std::optional<QString> captionText(const ProgressBarState &state, double percent);
    // Up to 15 significant digits, no trailing zeros, the user's decimal separator.
    static QString percentText(double percent);
    // Top-left corner of a caption of `text` pixels for an alignment cell.
    static QPoint captionPosition(int alignment, QSize size, QSize text);
    // The drawing passes of a text effect, last on top; none for an unknown effect.
    static QList<CaptionPass> captionPasses(int effect);
};

} // namespace Lumisong
