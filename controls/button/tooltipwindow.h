#pragma once

#include <QPainterPath>
#include <QRect>
#include <QWidget>

#include "controls/button/tooltipcontent.h"

namespace Lumisong {

// A button's own tooltip window: a rectangular tip or a balloon with a stem
// pointing at the pointer, an optional bold title row with its icon, the text
// wrapped at 240 pixels with its own line breaks kept, right-to-left when
// asked, and a drop shadow. The text takes the system's tooltip text colour;
// the background is the content's colour or the system's. The window belongs
// to the button it is made for and ends with it.
class ToolTipWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToolTipWindow)

public:
    static constexpr int MaxTextWidth = 240;
    static constexpr int ShadowSize = 4;
    static constexpr int StemHeight = 12;

    explicit ToolTipWindow(QWidget *owner);

    void setContent(const ToolTipContent &content);
    const ToolTipContent &content() const { return m_content; }

    // Shows the tip for the pointer at `pointer` (global): below it, the stem
    // of a balloon pointing at it, turned above it when the screen ends.
    void showAt(QPoint pointer);

    // Layout in window pixels, for drawing and for tests.
    QRect bodyRect() const { return m_body; }
    QRect titleRect() const { return m_title; }
    QRect iconRect() const { return m_icon; }
    QRect textRect() const { return m_text; }
    bool stemAbove() const { return m_stemAbove; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void relayout();
    QPainterPath outline() const;
    QString shownText() const;

    ToolTipContent m_content;
    QRect m_body;
    QRect m_title;
    QRect m_icon;
    QRect m_text;
    bool m_stemAbove = true;
    int m_stemX = 0;
};

} // namespace Lumisong
