#include "platform/ui/messagebox.h"

namespace Lumisong {

MessageBox::Answer MessageBox::answerWhenClosed(Buttons buttons)
{
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

} // namespace Lumisong
