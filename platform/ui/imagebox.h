#pragma once

#include <QPixmap>
#include <QWidget>

#include "platform/picture.h"

namespace Lumisong {

// An image control: shows its picture stretched to its own size (Stretch) or
// at the picture's size from its top-left corner. It takes no input; mouse
// events go to event filters and then to the form.
class ImageBox final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImageBox)
    Q_PROPERTY(Lumisong::Picture Picture READ picture WRITE setPicture)
    Q_PROPERTY(bool Stretch READ stretch WRITE setStretch)

public:
    explicit ImageBox(QWidget *parent = nullptr);

    const Picture &picture() const { return m_picture; }
    void setPicture(const Picture &picture);
    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture m_picture;
    bool m_stretch = false;
    QPixmap m_scaled; // the picture at the current size, made when first painted
};

} // namespace Lumisong
