#include "tests/support/scriptedsavedialog.h"

namespace Lumisong {

SaveDialogAnswer ScriptedSaveDialog::askSaveFileName(QWidget *, const SaveDialogRequest &request)
{
    m_requests << request;
    return m_answers.isEmpty() ? SaveDialogAnswer() : m_answers.takeFirst();
}

QString ScriptedSaveDialog::askFolder(QWidget *, const QString &title, const QString &startFolder)
{
    m_requests << SaveDialogRequest{title, {}, {}, {}, startFolder};
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst().path;
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
