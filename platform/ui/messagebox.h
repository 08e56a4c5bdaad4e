#pragma once

#include <QString>

class QWidget;

namespace Lumisong {

// Modal message boxes, behind an interface so that tests can answer them.
class MessageBox
{
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~MessageBox() = default;

    // Shows the box and returns the user's answer; closing the box without a
    // button gives answerWhenClosed(buttons).
    virtual Answer show(QWidget *parent, const QString &text, const QString &caption, Icon icon,
                        Buttons buttons) = 0;

    // Cancel where the box has it, else No, else Ok.
    static Answer answerWhenClosed(Buttons buttons);
};

} // namespace Lumisong
