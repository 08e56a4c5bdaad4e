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
    // button gives Cancel where there is one, else No, else Ok.
    virtual Answer show(QWidget *parent, const QString &text, const QString &caption, Icon icon,
                        Buttons buttons) = 0;
};

} // namespace Lumisong
