#include "controls/button/buttonaccessible.h"

#include <QKeySequence>

#include "controls/button/buttonenums.h"
#include "controls/button/zephbutton.h"
#include "platform/ui/accessiblefactory.h"

namespace Lumisong {

ButtonAccessible::ButtonAccessible(zephbutton *button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

zephbutton *ButtonAccessible::button() const
{
    return static_cast<zephbutton *>(widget());
}

void ButtonAccessible::install()
{
    installAccessibleInterface<ButtonAccessible, zephbutton>();
}

QString ButtonAccessible::withoutAccessKeyMarks(const QString &caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != u'&') {
            text += caption.at(i);
        } else if (i + 1 < caption.size() && caption.at(i + 1) == u'&') {
            text += u'&';
            ++i;
        }
    }
    return text;
}

QAccessible::Role ButtonAccessible::role() const
{
    switch (button()->mode()) {
    case ModeCheck:
        return QAccessible::CheckBox;
    case ModeOption:
        return QAccessible::RadioButton;
    default:
        return QAccessible::Button;
    }
}

QString ButtonAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        if (!button()->accessibleName().isEmpty())
            return button()->accessibleName();
        const QString caption = withoutAccessKeyMarks(button()->caption());
        return caption.isEmpty() ? button()->toolTip() : caption;
    }
    case QAccessible::Accelerator:
        return accessKeyText();
    case QAccessible::Description:
        return button()->toolTip();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State ButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    const zephbutton *b = button();
    const bool toggle = b->mode() == ModeCheck || b->mode() == ModeOption;
    state.disabled = !b->isEnabled();
    state.checkable = toggle;
    state.checked = toggle && b->value();
    state.pressed = !toggle && b->runtime().state == StateDown;
    return state;
}

QStringList ButtonAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    names.prepend(button()->mode() == ModePush ? pressAction() : toggleAction());
    return names;
}

QString ButtonAccessible::accessKeyText() const
{
    const QChar key = button()->accessKey();
    if (key.isNull())
        return {};
    return QKeySequence::mnemonic(u'&' + QString(key)).toString(QKeySequence::PortableText);
}

QStringList ButtonAccessible::keyBindingsForAction(const QString &actionName) const
{
    const QString key = accessKeyText();
    if (key.isEmpty() || (actionName != pressAction() && actionName != toggleAction()))
        return QAccessibleWidget::keyBindingsForAction(actionName);
    return {key};
}

void ButtonAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() || actionName == toggleAction())
        button()->input().accessKey(0);
    else
        QAccessibleWidget::doAction(actionName);
}

} // namespace Lumisong
