#pragma once

// A skinned button as the main window's text buttons are made: style 10, the
// blue face, the caption given, at the size given.

#include <QSize>
#include <QString>

#include "controls/button/buttonenums.h"
#include "controls/button/zephbutton.h"

namespace Lumisong::Bench {

inline void makeFormButton(zephbutton &button, QSize size, const QString &caption)
{
    button.resize(size);
    button.InitProperties();
    button.setButtonStyle(StyleBevel);
    button.setBackColor(Colour::rgb(173, 209, 255));
    button.setCaption(caption);
}

} // namespace Lumisong::Bench
