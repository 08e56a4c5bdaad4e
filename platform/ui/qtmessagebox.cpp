#include "platform/ui/qtmessagebox.h"

#include <QMessageBox>

namespace Lumisong {

namespace {

QMessageBox::Icon qtIcon(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Icon::Information:
        return QMessageBox::Information;
    case MessageBox::Icon::Question:
        return QMessageBox::Question;
    case MessageBox::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBox::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBox::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageBox::Buttons buttons)
{
    switch (buttons) {
    case MessageBox::Buttons::Ok:
        return QMessageBox::Ok;
    case MessageBox::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageBox::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageBox::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

MessageBox::Answer QtMessageBox::show(QWidget *parent, const QString &text, const QString &caption,
                                      Icon icon, Buttons buttons)
{
    QMessageBox box(qtIcon(icon), caption, text, qtButtons(buttons), parent);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        break;
    }
    // Closed without a button (Esc or the window's close box).
    return answerWhenClosed(buttons);
}

} // namespace Lumisong
