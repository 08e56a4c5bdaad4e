#include "tests/support/scriptedmessagebox.h"

namespace Lumisong {

MessageBox::Answer ScriptedMessageBox::show(QWidget *, const QString &text, const QString &caption,
                                            Icon icon, Buttons buttons)
{
    m_shown.append({text, caption, icon, buttons});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return answerWhenClosed(buttons);
}

void ScriptedMessageBox::queueAnswer(Answer answer)
{
    m_answers.append(answer);
}

} // namespace Lumisong
