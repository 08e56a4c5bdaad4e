#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>

namespace Lumisong {

// The skin of a borderless window: a title strip across the top, a bottom
// strip across the bottom and a body between them, each a stretched picture.
// The layout rule runs whenever the client size changes; the strips keep
// their heights. A step that cannot be done (a missing element, a negative
// size) is skipped and the rule goes on with the next.
class SkinFrame
{
public:
    enum class Body {
        ReachesBottomEdge,  // the body runs under the bottom strip to the bottom edge
        StopsAtBottomStrip, // the body ends where the bottom strip begins
    };

    SkinFrame() = default;
    SkinFrame(QWidget *imgTitle, QWidget *imgBody, QWidget *imgBottom, Body body);

    // In this order: the title strip at the top, full width; the bottom strip
    // at the bottom, full width; the body below the title strip, its height,
    // then its width.
    void layOut(QSize client) const;

    QWidget *imgTitle() const { return m_title; }
    QWidget *imgBody() const { return m_body; }
    QWidget *imgBottom() const { return m_bottom; }

private:
    QPointer<QWidget> m_title;
    QPointer<QWidget> m_body;
    QPointer<QWidget> m_bottom;
    Body m_bodyRule = Body::ReachesBottomEdge;
};

} // namespace Lumisong
