#include "platform/ui/skinframe.h"

namespace Lumisong {

namespace {

void setTop(QWidget *w, int top)
{
    if (w)
        w->move(w->x(), top);
}

void setWidth(QWidget *w, int width)
{
    if (w && width >= 0)
        w->resize(width, w->height());
}

void setHeight(QWidget *w, int height)
{
    if (w && height >= 0)
        w->resize(w->width(), height);
}

} // namespace

SkinFrame::SkinFrame(QWidget *imgTitle, QWidget *imgBody, QWidget *imgBottom, Body body)
    : m_title(imgTitle), m_body(imgBody), m_bottom(imgBottom), m_bodyRule(body)
{
}

void SkinFrame::layOut(QSize client) const
{
    const int W = client.width();
    const int H = client.height();
    setTop(m_title, 0);
    setWidth(m_title, W);
    if (m_bottom) {
        setTop(m_bottom, H - m_bottom->height());
        setWidth(m_bottom, W);
    }
    if (m_body && m_title) {
        setTop(m_body, m_title->height());
        int height = H - m_title->height();
        if (m_bodyRule == Body::StopsAtBottomStrip)
            height = m_bottom ? height - m_bottom->height() : -1;
        setHeight(m_body, height);
    }
    setWidth(m_body, W);
}

} // namespace Lumisong
