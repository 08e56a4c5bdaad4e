#include "platform/ui/imagebox.h"

#include <QPainter>

namespace Lumisong {

ImageBox::ImageBox(QWidget *parent) : QWidget(parent) {}

void ImageBox::setPicture(const Picture &picture)
{
    m_picture = picture;
    m_scaled = QPixmap();
    update();
}

void ImageBox::setStretch(bool stretch)
{
    m_stretch = stretch;
    m_scaled = QPixmap();
    update();
}

void ImageBox::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    if (!m_stretch) {
        painter.drawImage(0, 0, m_picture.image);
        return;
    }
    // A skin strip is stretched on every paint of a large window; scale once per size.
    if (m_scaled.size() != size())
        m_scaled = QPixmap::fromImage(
            m_picture.image.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    painter.drawPixmap(0, 0, m_scaled);
}

} // namespace Lumisong
