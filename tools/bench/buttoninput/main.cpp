// Times move notifications over a 75 x 23 style 10 button as the forms use it:
// one that finds the button already hot and changes nothing, delivered to the
// input machine and as Qt's mouse-move event; and runs of 1000 moves over a
// checked toggle, which is redrawn on every move.
// Targets: median <= 2 us for the move that changes nothing; <= 20 ms for the
// 1000 moves over the checked toggle.

#include <QApplication>
#include <QMouseEvent>

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

void setUp(zephbutton &button)
{
    Lumisong::Bench::makeFormButton(button, QSize(75, 23), QStringLiteral("生成列表"));
    button.setToolTip(QStringLiteral("tip"));
    button.setUpRunMode();
    // A host that listens, as the forms do.
    QObject::connect(&button, &zephbutton::MouseEnter, &button, [] {});
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SystemColours::pinStandard();

    zephbutton hot;
    setUp(hot);
    hot.input().mouseMove(true); // now hot, tooltip built
    print("move over a hot button, notification",
          measure(20000, [&](int) { hot.input().mouseMove(true); }));
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 10), QPointF(30, 10), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    print("move over a hot button, Qt event",
          measure(20000, [&](int) { QCoreApplication::sendEvent(&hot, &move); }));

    zephbutton toggle;
    setUp(toggle);
    toggle.setMode(ModeCheck);
    toggle.setValue(true);
    print("1000 moves over a checked toggle", measure(200, [&](int) {
              for (int i = 0; i < 1000; ++i)
                  toggle.input().mouseMove(true);
          }));
    print("1000 moves over a checked toggle, Qt events", measure(200, [&](int) {
              for (int i = 0; i < 1000; ++i)
                  QCoreApplication::sendEvent(&toggle, &move);
          }));
    print("  one full redraw of it, for comparison", measure(2000, [&](int) { toggle.Redraw(); }));
    std::printf("targets: median <= 0.002 ms for the move that changes nothing, "
                "<= 20 ms for 1000 moves over the checked toggle\n");
    return 0;
}
