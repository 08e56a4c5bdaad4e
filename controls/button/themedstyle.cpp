// Style 13: the application style's push-button panel.

#include "controls/button/stylepainters.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "controls/button/buttonenums.h"
#include "controls/button/buttonpainter.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/colourmath.h"
#include "platform/surface.h"
#include "platform/systemcolours.h"

namespace Lumisong {

namespace {

QStyleOptionButton panelOption(const StyleInput &in, int state, const QRect &rect)
{
    const ButtonProperties &p = in.properties;
    const ButtonRuntime &rt = in.runtime;
    QStyleOptionButton option;
    option.rect = rect;
    option.palette = QApplication::palette();
    const Colour face = SystemRgb(SystemColours::ButtonFace);
    option.palette.setColor(QPalette::Button, QColor(face.red(), face.green(), face.blue()));
    option.state = QStyle::State_None;
    if (p.enabled) {
        option.state |= QStyle::State_Enabled;
        switch (state) {
        case StateNormal:
            option.state |= QStyle::State_Raised;
            if (rt.parentActive && in.focusOrDefault)
                option.features |= QStyleOptionButton::DefaultButton;
            break;
        case StateHot:
            option.state |= QStyle::State_Raised | QStyle::State_MouseOver;
            break;
        case StateDown:
            option.state |= QStyle::State_Sunken;
            break;
        default:
            break;
        }
    } else {
        option.state |= QStyle::State_Raised;
    }
    return option;
}

// The window shape the style gives a panel on (-1, -1, W + 1, H + 2): the
// pixels it covers at least half.
QRegion panelRegion(QStyle *style, const StyleInput &in, int state, int W, int H)
{
    const QSize size(W + 2, H + 3);
    QImage shape(size, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        const QStyleOptionButton option = panelOption(in, state, QRect(QPoint(0, 0), size));
        style->drawControl(QStyle::CE_PushButtonBevel, &option, &p, nullptr);
    }
    QRegion region;
    for (int y = 0; y < shape.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(shape.constScanLine(y));
        int x = 0;
        while (x < shape.width()) {
            while (x < shape.width() && qAlpha(row[x]) < 128)
                ++x;
            const int start = x;
            while (x < shape.width() && qAlpha(row[x]) >= 128)
                ++x;
            if (x > start)
                region += QRect(start - 1, y - 1, x - start, 1);
        }
    }
    return region;
}

} // namespace

StyleShape paintThemed(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    QStyle *appStyle = qobject_cast<QApplication *>(QCoreApplication::instance()) ? QApplication::style()
                                                                                   : nullptr;
    if (appStyle && W > 0 && H > 0) {
        shape = panelRegion(appStyle, in, state, W, H);
        QPainter p(&painter.canvas().surface().pixels());
        p.setClipRect(QRect(0, 0, W, H));
        const QStyleOptionButton option = panelOption(in, state, QRect(0, 0, W, H));
        appStyle->drawControl(QStyle::CE_PushButtonBevel, &option, &p, nullptr);
    }
    painter.DrawContent(in);
    return shape;
}

} // namespace Lumisong
