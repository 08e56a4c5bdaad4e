#include "platform/ui/scriptedmessagebox.h"

namespace Lumisong {

MessageBox::Answer ScriptedMessageBox::show(QWidget *, const QString &text, const QString &caption,
                                            Icon icon, Buttons buttons)
{
    m_shown.append({text, caption, icon, buttons});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        break;
    }
    return Answer::Cancel;
}

void ScriptedMessageBox::queueAnswer(Answer answer)
{
    m_answers.append(answer);
}

} // namespace Lumisong
