#include "platform/surface.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/roundrect.h"

namespace Lumisong {

namespace {

// 96 dots per inch, the resolution fonts are sized for.
constexpr int DotsPerMeter = 3780;

QImage makeImage(QSize size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    image.fill(0xFF000000u);
    return image;
}

// Font sizes in points become pixel sizes at 96 dots per inch, so that text is
// measured and drawn alike whatever the screen.
QFont inPixels(const QFont &font)
{
    QFont result = font;
    if (font.pixelSize() <= 0 && font.pointSizeF() > 0)
        result.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * 96.0 / 72.0))));
    return result;
}

} // namespace

Surface::Surface() : m_font(inPixels(QFont())) {}

Surface::Surface(QSize size) : m_image(makeImage(size)), m_font(inPixels(QFont())) {}

void Surface::resize(QSize size)
{
    m_image = makeImage(size);
    m_sharpSteps.clear();
    resetWindowRegion();
}

void Surface::clear(Colour colour)
{
    m_sharpSteps.clear();
    if (!isEmpty())
        m_image.fill(colour.toPixel());
}

void Surface::setDevicePixelRatio(qreal ratio)
{
    const qreal wanted = std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
    if (wanted == m_ratio)
        return;
    m_ratio = wanted;
    m_sharpSteps.clear();
}

void Surface::drawSharp(const SharpStep &step)
{
    if (isEmpty() || !step)
        return;
    if (m_ratio != 1.0) {
        m_sharpSteps.push_back(step);
        return;
    }
    QPainter painter(&m_image);
    step(painter);
}

QImage Surface::deviceImage() const
{
    if (m_ratio == 1.0 || isEmpty())
        return m_image;
    const QSize deviceSize(int(std::ceil(width() * m_ratio)), int(std::ceil(height() * m_ratio)));
    // Whole ratios repeat every pixel, so one-pixel lines stay crisp; others
    // are smoothed rather than made uneven.
    const bool whole = m_ratio == std::floor(m_ratio);
    QImage device = m_image.scaled(deviceSize, Qt::IgnoreAspectRatio,
                                   whole ? Qt::FastTransformation : Qt::SmoothTransformation);
    device.setDevicePixelRatio(m_ratio);
    QPainter painter(&device); // in logical pixels: the painter scales by the ratio
    for (const SharpStep &step : m_sharpSteps) {
        painter.save();
        step(painter);
        painter.restore();
    }
    return device;
}

QRegion Surface::deviceWindowRegion() const
{
    QRegion device;
    for (const QRect &rect : windowRegion()) {
        const int left = int(std::floor(rect.x() * m_ratio));
        const int top = int(std::floor(rect.y() * m_ratio));
        const int right = int(std::ceil((rect.x() + rect.width()) * m_ratio));
        const int bottom = int(std::ceil((rect.y() + rect.height()) * m_ratio));
        device += QRect(left, top, right - left, bottom - top);
    }
    return device;
}

Colour Surface::pixel(int x, int y) const
{
    if (!bounds().contains(x, y))
        return Colour(Colour::Invalid);
    return Colour::fromPixel(reinterpret_cast<const quint32 *>(m_image.constScanLine(y))[x]);
}

void Surface::setPixel(int x, int y, Colour colour)
{
    if (!bounds().contains(x, y))
        return;
    reinterpret_cast<quint32 *>(m_image.scanLine(y))[x] = colour.toPixel();
}

void Surface::fillClipped(const PixelRect &rect, quint32 pixel)
{
    const PixelRect clipped = rect.intersected(bounds());
    if (clipped.isEmpty())
        return;
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        quint32 *row = reinterpret_cast<quint32 *>(m_image.scanLine(y));
        std::fill(row + clipped.left, row + clipped.right, pixel);
    }
}

void Surface::drawLine(int x1, int y1, int x2, int y2, Colour colour)
{
    const quint32 pixel = colour.toPixel();
    if (y1 == y2) {
        const int from = x1 <= x2 ? x1 : x2 + 1; // the end point is left out
        const int to = x1 <= x2 ? x2 : x1 + 1;
        fillClipped({from, y1, to, y1 + 1}, pixel);
        return;
    }
    if (x1 == x2) {
        const int from = y1 <= y2 ? y1 : y2 + 1;
        const int to = y1 <= y2 ? y2 : y1 + 1;
        fillClipped({x1, from, x1 + 1, to}, pixel);
        return;
    }
    // Sloped lines step along the major axis; the minor coordinate after k steps is
    // the nearest pixel to the ideal line (halves rounded up), computed directly so
    // that only the steps inside the image are visited, however long the line.
    const std::int64_t dx = std::int64_t(x2) - x1;
    const std::int64_t dy = std::int64_t(y2) - y1;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t major = xMajor ? dx : dy;
    const std::int64_t minor = xMajor ? dy : dx;
    const std::int64_t majorStart = xMajor ? x1 : y1;
    const std::int64_t minorStart = xMajor ? y1 : x1;
    const std::int64_t majorStep = major > 0 ? 1 : -1;
    const std::int64_t steps = std::llabs(major); // end point excluded
    const std::int64_t limit = xMajor ? width() : height();
    // Steps k whose major coordinate majorStart + k * majorStep lies in [0, limit).
    std::int64_t kFrom = majorStep > 0 ? -majorStart : majorStart - (limit - 1);
    std::int64_t kTo = majorStep > 0 ? limit - majorStart : majorStart + 1;
    kFrom = std::max<std::int64_t>(kFrom, 0);
    kTo = std::min<std::int64_t>(kTo, steps);
    __extension__ using Wide = __int128;
    const Wide twiceMajor = Wide(std::llabs(major)) * 2;
    for (std::int64_t k = kFrom; k < kTo; ++k) {
        // Nearest integer to k * |minor| / |major|, halves up, in exact arithmetic.
        const Wide offset = (Wide(k) * std::llabs(minor) * 2 + std::llabs(major)) / twiceMajor;
        const std::int64_t m = minorStart + (minor >= 0 ? std::int64_t(offset) : -std::int64_t(offset));
        const std::int64_t j = majorStart + k * majorStep;
        const std::int64_t x = xMajor ? j : m;
        const std::int64_t y = xMajor ? m : j;
        if (x >= 0 && x < width() && y >= 0 && y < height())
            reinterpret_cast<quint32 *>(m_image.scanLine(int(y)))[x] = pixel;
    }
}

void Surface::frameRect(const PixelRect &rect, Colour colour)
{
    if (rect.isEmpty())
        return;
    const quint32 pixel = colour.toPixel();
    fillClipped({rect.left, rect.top, rect.right, rect.top + 1}, pixel);
    fillClipped({rect.left, rect.bottom - 1, rect.right, rect.bottom}, pixel);
    fillClipped({rect.left, rect.top, rect.left + 1, rect.bottom}, pixel);
    fillClipped({rect.right - 1, rect.top, rect.right, rect.bottom}, pixel);
}

void Surface::fillRect(const PixelRect &rect, Colour colour)
{
    fillClipped(rect, colour.toPixel());
}

void Surface::gradientRect(const PixelRect &rect, Colour start, Colour end, GradientMode mode)
{
    const PixelRect clipped = rect.intersected(bounds());
    if (rect.isEmpty() || clipped.isEmpty())
        return;
    const std::int64_t n = mode == GradientMode::Horizontal
                               ? std::int64_t(rect.right) - rect.left
                               : std::int64_t(rect.bottom) - rect.top;
    auto at = [&](std::int64_t i) {
        auto channel = [&](int s, int e) { return int((s * (n - i) + e * i) / n); };
        return Colour::rgb(channel(start.red(), end.red()), channel(start.green(), end.green()),
                           channel(start.blue(), end.blue()))
            .toPixel();
    };
    if (mode == GradientMode::Vertical) {
        for (int y = clipped.top; y < clipped.bottom; ++y) {
            quint32 *row = reinterpret_cast<quint32 *>(m_image.scanLine(y));
            std::fill(row + clipped.left, row + clipped.right, at(std::int64_t(y) - rect.top));
        }
        return;
    }
    quint32 *first = reinterpret_cast<quint32 *>(m_image.scanLine(clipped.top));
    for (int x = clipped.left; x < clipped.right; ++x)
        first[x] = at(std::int64_t(x) - rect.left);
    for (int y = clipped.top + 1; y < clipped.bottom; ++y) {
        quint32 *row = reinterpret_cast<quint32 *>(m_image.scanLine(y));
        std::copy(first + clipped.left, first + clipped.right, row + clipped.left);
    }
}

void Surface::transferRow24(int x, int y, const uchar *bgr, int count)
{
    if (bgr == nullptr || count <= 0 || y < 0 || y >= height())
        return;
    const int right = int(std::min<std::int64_t>(std::int64_t(x) + count, width()));
    const PixelRect clipped = PixelRect{x, y, right, y + 1}.intersected(bounds());
    if (clipped.isEmpty())
        return;
    quint32 *row = reinterpret_cast<quint32 *>(m_image.scanLine(y));
    for (int column = clipped.left; column < clipped.right; ++column) {
        const uchar *source = bgr + 3 * std::ptrdiff_t(column - x);
        row[column] = 0xFF000000u | quint32(source[2]) << 16 | quint32(source[1]) << 8 | source[0];
    }
}

void Surface::frameRoundRect(const PixelRect &box, int ellipseWidth, int ellipseHeight,
                             Colour colour)
{
    if (box.intersected(bounds()).isEmpty())
        return;
    const quint32 pixel = colour.toPixel();
    for (const PixelRect &segment : RoundRect(box, ellipseWidth, ellipseHeight).outline(0, height()))
        fillClipped(segment, pixel);
}

QRegion Surface::roundRectRegion(const PixelRect &box, int ellipseWidth, int ellipseHeight)
{
    return RoundRect(box, ellipseWidth, ellipseHeight).region();
}

void Surface::setWindowRegion(const QRegion &region)
{
    m_region = region;
    m_hasRegion = true;
}

void Surface::resetWindowRegion()
{
    m_region = QRegion();
    m_hasRegion = false;
}

QRegion Surface::windowRegion() const
{
    const QRegion whole = bounds().toQRect();
    return m_hasRegion ? m_region.intersected(whole) : whole;
}

void Surface::setFont(const QFont &font)
{
    m_font = inPixels(font);
}

QSize Surface::textExtent(const QString &text) const
{
    const QFontMetrics metrics(m_font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void Surface::drawText(int x, int y, const QString &text, Colour colour)
{
    if (isEmpty() || text.isEmpty())
        return;
    const QFontMetrics metrics(m_font);
    if (x >= width() || y >= height() || y + metrics.height() <= 0)
        return;
    const QFont font = m_font;
    const QPoint origin(x, y + metrics.ascent());
    const QColor ink(colour.red(), colour.green(), colour.blue());
    drawSharp([font, origin, ink, text](QPainter &painter) {
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(origin, text);
    });
}

} // namespace Lumisong
