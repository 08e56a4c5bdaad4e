#include "platform/ui/qtmessagebox.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

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

int QtMessageBox::minimumWidthFor(const QString &caption, const QFont &font)
{
    // Title bars draw the caption a little larger and bold, beside the window
    // manager's icon and buttons.
    QFont titleFont = font;
    titleFont.setBold(true);
    const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(caption);
    return captionWidth * 5 / 4 + TitleBarDecorations;
}

MessageBox::Answer QtMessageBox::show(QWidget *parent, const QString &text, const QString &caption,
                                      Icon icon, Buttons buttons)
{
    QMessageBox box(qtIcon(icon), caption, text, qtButtons(buttons), parent);
    // A box sized to a short message is narrower than its caption needs: the
    // window manager would cut "Lumisong" to "Lu… ng". The box sizes itself to
    // its layout, so the width goes in as a spacer across the bottom row.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(new QSpacerItem(minimumWidthFor(caption, box.font()), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
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
