// Times full redraws of a 61 x 23 style 10 button as the forms use it
// (Tahoma caption, blue face), and of the same button with a 32 x 32 alpha
// picture while hot. Prints medians and spread.
// Targets: median <= 0.2 ms with a caption, <= 0.4 ms with the picture.

#include <QApplication>

#include <cstdio>

#include "controls/button/buttonenums.h"
#include "controls/button/zephbutton.h"
#include "platform/systemcolours.h"
#include "tools/bench/benchfigures.h"
#include "tools/bench/formbutton.h"

using namespace Lumisong;
using Lumisong::Bench::measure;
using Lumisong::Bench::print;

namespace {

ButtonPicturePtr alphaPicture()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y, qRgba(x * 8, y * 8, 128, (x + y) * 4));
    return ButtonPicture::from(Picture{QString(), image});
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SystemColours::pinStandard();

    zephbutton button;
    Lumisong::Bench::makeFormButton(button, QSize(61, 23), QStringLiteral("全选"));
    button.runtime().parentActive = true;

    const int rounds = 3000;
    print("style 10, 61 x 23, caption, normal", measure(rounds, [&](int) { button.Redraw(); }));
    button.setCaption(QStringLiteral("Select All"));
    print("style 10, 61 x 23, Latin caption, normal", measure(rounds, [&](int) { button.Redraw(); }));

    button.setPictureNormal(alphaPicture());
    button.setPictureEffectOnOver(EffectLighter);
    button.runtime().state = StateHot;
    print("style 10, 61 x 23, 32 x 32 alpha picture, hot", measure(rounds, [&](int) { button.Redraw(); }));
    button.setPictureShadow(true);
    print("  the same with a picture shadow", measure(rounds, [&](int) { button.Redraw(); }));
    std::printf("targets: median <= 0.2 ms with a caption, <= 0.4 ms with the picture while hot\n");
    return 0;
}
