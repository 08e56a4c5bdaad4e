#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTest>
#include <QWidget>

#include <memory>

#include "controls/button/buttonenums.h"
#include "controls/button/zephbutton.h"
#include "platform/propertybag.h"

// Buttons made the ways the button tests need them: bare with new-instance
// values, or loaded on a form that is shown.
namespace Lumisong::ButtonTesting {

inline Colour grey(int v)
{
    return Colour::rgb(v, v, v);
}

// A picture made in code: saved inline.
inline ButtonPicturePtr picture(int w, int h, QRgb argb, const char *source = "")
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(argb);
    return ButtonPicture::from(Picture{QString::fromLatin1(source), image});
}

inline std::unique_ptr<zephbutton> newButton(QSize size = QSize(61, 23))
{
    auto button = std::make_unique<zephbutton>();
    button->resize(size);
    button->InitProperties();
    return button;
}

// A button loaded on a running form, as the form loader makes it.
inline zephbutton *loadButton(QWidget *parent, const QString &caption, int mode = ModePush,
                              QRect geometry = {10, 10, 75, 23})
{
    auto *button = new zephbutton(parent);
    button->setGeometry(geometry);
    PropertyBag bag;
    bag.setValue(QStringLiteral("ButtonStyle"), qint32(StyleBevel));
    bag.setValue(QStringLiteral("Caption"), caption);
    bag.setValue(QStringLiteral("Mode"), qint32(mode));
    button->ReadProperties(bag);
    button->setGeometry(geometry);
    return button;
}

struct Form
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();

    bool show()
    {
        window->resize(300, 200);
        window->move(0, 0);
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }
};

} // namespace Lumisong::ButtonTesting
