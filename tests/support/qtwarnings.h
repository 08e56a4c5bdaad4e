#pragma once

#include <QRegularExpression>
#include <QTest>

namespace Lumisong::Test {

// Qt's own warnings of misuse (a socket notifier or timer used wrongly, a
// connection that cannot be made, an object on the wrong thread) fail the
// test function that causes them, even when what the test checks still
// holds. Call from init(): it applies to one test function.
inline void failOnQtMisuseWarnings()
{
    static const QRegularExpression misuse(QStringLiteral(
        "^(QSocketNotifier|QObject|QTimer|QBasicTimer|QThread|QEventLoop|QCoreApplication|QMetaObject)\\b"));
    QTest::failOnWarning(misuse);
}

} // namespace Lumisong::Test
