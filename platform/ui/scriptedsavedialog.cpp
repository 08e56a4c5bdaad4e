#include "platform/ui/scriptedsavedialog.h"

namespace Lumisong {

QString ScriptedSaveDialog::askSaveFileName(QWidget *, const SaveDialogRequest &request)
{
    m_requests << request;
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}

void ScriptedSaveDialog::queueAnswer(const QString &path)
{
    m_answers << path;
}

const QList<SaveDialogRequest> &ScriptedSaveDialog::requests() const
{
    return m_requests;
}

} // namespace Lumisong
