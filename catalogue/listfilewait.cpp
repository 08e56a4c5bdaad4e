#include "catalogue/listfilewait.h"

#include <functional>

#include <QEventLoop>

namespace Lumisong {

namespace {

ListFileRun::Outcome waitForTheEnd(ListFileRun &run, const std::function<void()> &start)
{
    QEventLoop loop;
    QObject::connect(&run, &ListFileRun::finished, &loop, &QEventLoop::quit);
    start();
    loop.exec();
    if (!run.isFinished())
        run.abort();
    return run.outcome();
}

} // namespace

ListFileRun::Outcome runToTheEnd(ListFileRun &run, const QString &path)
{
    return waitForTheEnd(run, [&] { run.start(path); });
}

ListFileRun::Outcome runToTheEnd(ListFileRun &run)
{
    return waitForTheEnd(run, [&] { run.startWithoutFile(); });
}

} // namespace Lumisong
