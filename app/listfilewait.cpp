#include "app/listfilewait.h"

#include <QEventLoop>

namespace Lumisong {

ListFileRun::Outcome runToTheEnd(ListFileRun &run, const QString &path)
{
    QEventLoop loop;
    QObject::connect(&run, &ListFileRun::finished, &loop, &QEventLoop::quit);
    run.start(path);
    loop.exec();
    if (!run.isFinished())
        run.abort();
    return run.outcome();
}

} // namespace Lumisong
