#include "catalogue/listfilewait.h"

#include <functional>
#include <optional>

#include <QEventLoop>

namespace Lumisong {

namespace {

ListFileRun::Outcome waitForTheEnd(ListFileRun &run, const std::function<void()> &start)
{
    QEventLoop loop;
    std::optional<ListFileRun::Outcome> outcome;
    QObject::connect(&run, &ListFileRun::finished, &loop, [&](ListFileRun::Outcome end) {
        outcome = end;
        loop.quit();
    });
    start();
    loop.exec();
    if (!outcome)
        run.abort(); // tells its outcome from inside
    return *outcome;
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
