#include "app/formloader.h"

#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/listview.h"
#include "controls/button/zephbutton.h"
#include "controls/progressbar/progressbar.h"
#include "platform/propertybag.h"
#include "platform/twips.h"

namespace Lumisong {

namespace {

QObject *createLabel(QWidget *form, const ControlDesign &d)
{
    auto *label = new QLabel(form);
    label->setText(d.properties.value(u"Caption").toString());
    label->setToolTip(d.properties.value(u"ToolTipText").toString());
    label->setTextFormat(Qt::PlainText);
    return label;
}

QObject *createCommandButton(QWidget *form, const ControlDesign &d)
{
    auto *button = new QPushButton(form);
    button->setText(d.properties.value(u"Caption").toString());
    button->setToolTip(d.properties.value(u"ToolTipText").toString());
    button->setEnabled(d.properties.value(u"Enabled").toBool(true));
    return button;
}

QObject *createListView(QWidget *form, const ControlDesign &d)
{
    auto *view = new ListView(form);
    QList<ListView::Column> columns;
    for (const QJsonValue &v : d.properties.value(u"ColumnHeaders").toArray()) {
        const QJsonObject c = v.toObject();
        columns.append({c.value(u"Text").toString(), c.value(u"Width").toInt()});
    }
    view->setColumns(columns);
    view->setCheckboxes(d.properties.value(u"Checkboxes").toBool(false));
    view->setToolTip(d.properties.value(u"ToolTipText").toString());
    return view;
}

QObject *createTimer(QWidget *form, const ControlDesign &d)
{
    auto *timer = new QTimer(form);
    timer->setInterval(d.properties.value(u"Interval").toInt(0));
    if (d.properties.value(u"Enabled").toBool(false))
        timer->start();
    return timer;
}

// The program's own progress bar: "properties" is its saved property bag, which
// also holds the host's own entries (_extentx, _extenty, Visible).
QObject *createProgressBar(QWidget *form, const ControlDesign &d)
{
    auto *bar = new ProgressBar(form);
    // Text is read back against the control's name, and drawn at the designed size.
    bar->setObjectName(d.name);
    bar->resize(Twips::toPixels(d.width), Twips::toPixels(d.height));
    const PropertyBag bag = PropertyBag::fromJson(d.properties);
    // Entries that cannot be read keep the values of a newly placed bar, not
    // the zeros of one never set up (a Max of 0 that no accessor allows).
    bar->UserControl_InitProperties();
    bar->UserControl_ReadProperties(bag);
    if (!bag.read(QStringLiteral("Visible"), true).value_or(true))
        bar->hide();
    return bar;
}

// The program's own skinned button: "properties" is its saved property bag. It
// is created as on a running form (user mode), named after its design, so
// that a new button's caption default is its own name.
QObject *createZephButton(QWidget *form, const ControlDesign &d)
{
    auto *button = new zephbutton(form);
    button->setObjectName(d.name);
    zephbutton::Ambient ambient;
    ambient.displayName = d.name;
    button->setAmbient(ambient);
    button->resize(Twips::toPixels(d.width), Twips::toPixels(d.height));
    button->ReadProperties(PropertyBag::fromJson(d.properties));
    return button;
}

} // namespace

FormLoader::FormLoader()
{
    registerType(QStringLiteral("Label"), createLabel);
    registerType(QStringLiteral("CommandButton"), createCommandButton);
    registerType(QStringLiteral("ListView"), createListView);
    registerType(QStringLiteral("Timer"), createTimer);
    registerType(QStringLiteral("Lumisong.ProgressBar"), createProgressBar);
    registerType(QStringLiteral("Lumisong.zephbutton"), createZephButton);
}

void FormLoader::registerType(const QString &type, Factory factory)
{
    m_factories.insert(type, std::move(factory));
}

bool FormLoader::build(QWidget *form, const FormDesign &design, QString *error) const
{
    form->setObjectName(design.name);
    if (!design.caption.isEmpty())
        form->setWindowTitle(design.caption);
    if (design.clientWidth > 0 && design.clientHeight > 0)
        form->setFixedSize(Twips::toPixels(design.clientWidth),
                           Twips::toPixels(design.clientHeight));

    for (const ControlDesign &d : design.controls) {
        const auto factory = m_factories.constFind(d.type);
        if (factory == m_factories.cend()) {
            *error = QStringLiteral("%1: unknown control type %2").arg(d.name, d.type);
            return false;
        }
        QObject *control = (*factory)(form, d);
        control->setObjectName(d.name);
        if (auto *widget = qobject_cast<QWidget *>(control)) {
            widget->move(Twips::toPixels(d.left), Twips::toPixels(d.top));
            // AutoSize controls size themselves to their content.
            if (d.properties.value(u"AutoSize").toBool(false))
                widget->adjustSize();
            else
                widget->resize(Twips::toPixels(d.width), Twips::toPixels(d.height));
        }
    }
    return true;
}

} // namespace Lumisong
