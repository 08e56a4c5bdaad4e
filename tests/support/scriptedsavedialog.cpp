#include "tests/support/scriptedsavedialog.h"

namespace Lumisong {

SaveDialogAnswer ScriptedSaveDialog::askSaveFileName(QWidget *, const SaveDialogRequest &request)
{
    m_requests << request;
    return m_answers.isEmpty() ? SaveDialogAnswer() : m_answers.takeFirst();
}

void ScriptedSaveDialog::queueAnswer(const QString &path, int type)
{
    m_answers << SaveDialogAnswer{path, type};
}

const QList<SaveDialogRequest> &ScriptedSaveDialog::requests() const
{
    return m_requests;
}

} // namespace Lumisong
