#pragma once

#include "platform/ui/messagebox.h"

#include <QList>

namespace Lumisong {

// Test double: answers from a queue (an exhausted queue gives the answer of a
// box closed without a button) and records every box it was shown.
class ScriptedMessageBox final : public MessageBox
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    Answer show(QWidget *parent, const QString &text, const QString &caption, Icon icon,
                Buttons buttons) override;

    void queueAnswer(Answer answer);
    const QList<Shown> &shown() const { return m_shown; }

private:
    QList<Answer> m_answers;
    QList<Shown> m_shown;
};

} // namespace Lumisong
