// Times full redraws of a 773 x 39 progress bar with the main window's look
// (theme 8, shadowed white caption) and prints the median and spread.
// Target: a median of at most 0.5 ms per redraw.

#include <QApplication>

#include <cstdio>

#include "controls/progressbar/progressbar.h"
#include "platform/systemcolours.h"
#include "tools/bench/benchfigures.h"

using namespace Lumisong;
using Lumisong::Bench::measure;
using Lumisong::Bench::print;

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SystemColours::pinStandard();

    ProgressBar bar;
    bar.setObjectName(QStringLiteral("process"));
    bar.resize(773, 39);
    bar.UserControl_InitProperties();
    bar.setTheme(8);
    bar.setTextStyle(3);
    bar.setTextEffect(5);
    bar.setMax(1000);

    const int rounds = 2000;
    print("redraw (Value assigned, text caption)",
          measure(rounds, [&](int i) { bar.setValue(i % 1000 + 1); }));
    print("redraw (Text assigned)", measure(rounds, [&](int i) {
              bar.setText(QStringLiteral("正在处理第 %1 首").arg(i % 1000 + 1));
          }));
    bar.setTextStyle(2);
    print("redraw (percentage caption)",
          measure(rounds, [&](int i) { bar.setValue(i % 1000 + 1); }));
    bar.setTextStyle(3);
    bar.setTextEffect(4);
    print("redraw (outlined caption, five text passes)",
          measure(rounds, [&](int i) { bar.setValue(i % 1000 + 1); }));
    std::printf("target: median <= 0.5 ms per redraw\n");
    return 0;
}
