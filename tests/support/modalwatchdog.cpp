#include "tests/support/modalwatchdog.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

namespace Lumisong::Test {

ModalWatchdog::ModalWatchdog()
{
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [] {
        if (!QTest::currentTestFailed())
            return;
        while (QWidget *modal = QApplication::activeModalWidget()) {
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
            if (QApplication::activeModalWidget() == modal)
                break; // it would not close: leave it to the timeout
        }
    });
    m_timer.start();
}

} // namespace Lumisong::Test
