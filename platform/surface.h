#pragma once

#include <QFont>
#include <QImage>

#include <functional>
#include <vector>
#include <QRegion>
#include <QSize>
#include <QString>

#include "platform/colour.h"
#include "platform/pixelrect.h"

class QPainter;

namespace Lumisong {

// The software canvas a control draws on and the system repaints from: a
// 32-bit image with the pixel-exact semantics of the platform's drawing calls,
// plus the window shape the control last gave itself.
//
// Coordinates are device pixels, (0, 0) top-left. Rectangles are PixelRect:
// right and bottom EXCLUSIVE. Colours are 0x00BBGGRR values and are drawn from
// their low three bytes: translate system colours (Colour::resolved()) first.
// Every primitive clips to the image and returns early when nothing is left, so
// no call reads or writes outside it, whatever the coordinates.
//
// Text and symbols are drawn at the screen's device pixel ratio: the image
// keeps one pixel per logical pixel, and drawSharp steps are replayed over it
// at the screen's resolution by deviceImage() (at ratio 1 they go straight
// into the image, so nothing changes there).
class Surface
{
public:
    // The direction of a two-colour rectangle gradient, numbered as the platform's
    // rectangle gradient modes.
    enum class GradientMode {
        Horizontal = 0, // start colour at the left, towards the end colour at the right
        Vertical = 1,   // start colour at the top, towards the end colour at the bottom
    };

    Surface();
    explicit Surface(QSize size);

    // Changes the size; the content is cleared to black and the window shape reset.
    void resize(QSize size);
    QSize size() const { return m_image.size(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    PixelRect bounds() const { return {0, 0, width(), height()}; }
    bool isEmpty() const { return m_image.isNull(); }
    // The pixels, Format_RGB32, 96 dots per inch.
    const QImage &image() const { return m_image; }

    void clear(Colour colour);
    // The colour of a pixel; Colour::Invalid outside the image.
    Colour pixel(int x, int y) const;
    void setPixel(int x, int y, Colour colour);

    // A one-pixel line from (x1, y1) towards (x2, y2); the end point itself is not
    // painted, so joined lines do not paint their shared point twice.
    void drawLine(int x1, int y1, int x2, int y2, Colour colour);
    // A one-pixel outline just inside the rectangle.
    void frameRect(const PixelRect &rect, Colour colour);
    void fillRect(const PixelRect &rect, Colour colour);

    // Fills the rectangle with a linear gradient. Along its span of n pixels
    // (columns for Horizontal, rows for Vertical) pixel i takes, per channel,
    // (start * (n - i) + end * i) div n: the first column or row is the start
    // colour exactly and the end colour is approached, not reached. The span is
    // the whole rectangle's even where it is clipped.
    void gradientRect(const PixelRect &rect, Colour start, Colour end, GradientMode mode);

    // Copies one row of 24-bit pixels (blue, green, red bytes per pixel) to
    // (x, y)..(x + count, y).
    void transferRow24(int x, int y, const uchar *bgr, int count);

    // The one-pixel outline of the rounded rectangle `box` (right and bottom
    // exclusive, so a straight right edge lies on column box.right - 1) whose
    // corners follow an ellipseWidth x ellipseHeight ellipse; the inside is left alone.
    void frameRoundRect(const PixelRect &box, int ellipseWidth, int ellipseHeight, Colour colour);
    // The region of the same rounded rectangle, as window shapes use it.
    static QRegion roundRectRegion(const PixelRect &box, int ellipseWidth, int ellipseHeight);

    // The window shape: what the window shows of the image. Without one set it is
    // the whole image. Always clipped to the image.
    void setWindowRegion(const QRegion &region);
    void resetWindowRegion();
    QRegion windowRegion() const;
    bool hasWindowRegion() const { return m_hasRegion; }

    // The device pixel ratio of the screen the surface is shown on; 1 unless
    // set. Changing it drops the kept sharp steps (the next redraw makes them).
    void setDevicePixelRatio(qreal ratio);
    qreal devicePixelRatio() const { return m_ratio; }
    // A drawing step in the surface's own (logical) pixel coordinates that
    // must be sharp on the screen: text, symbols. At ratio 1 it runs at once
    // on a painter over the image; otherwise it is kept until clear() or
    // resize() and runs in deviceImage(). The step sets its own font and pen.
    using SharpStep = std::function<void(QPainter &painter)>;
    void drawSharp(const SharpStep &step);
    // The pixels as the screen shows them. At ratio 1 the image itself. At
    // other ratios the image scaled to ceil(size x ratio) (pixel for pixel
    // repeated at whole ratios, smoothed otherwise) with the kept sharp steps
    // drawn over it at full resolution; its devicePixelRatio() is the ratio.
    QImage deviceImage() const;
    // The window shape in device pixels of deviceImage(): every rectangle
    // widened outwards to whole device pixels.
    QRegion deviceWindowRegion() const;

    // Text output in the surface's font, measured and drawn in the surface's pixels.
    void setFont(const QFont &font);
    const QFont &font() const { return m_font; }
    // The width (advance) and height (ascent + descent) of a single line of text.
    QSize textExtent(const QString &text) const;
    // Draws a single line with its top-left corner at (x, y), transparent
    // background; a sharp step.
    void drawText(int x, int y, const QString &text, Colour colour);

    // The pixels for drawing that goes through QPainter or per-pixel
    // composition (the skinned button's caption and pictures); callers keep
    // the format (Format_RGB32) and the size.
    QImage &pixels() { return m_image; }

private:
    void fillClipped(const PixelRect &rect, quint32 pixel);

    QImage m_image;
    QFont m_font;
    QRegion m_region;
    bool m_hasRegion = false;
    qreal m_ratio = 1.0;
    std::vector<SharpStep> m_sharpSteps;
};

} // namespace Lumisong
