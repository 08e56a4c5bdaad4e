#include "forms/formloader.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "forms/listview.h"
#include "controls/button/zephbutton.h"
#include "controls/progressbar/progressbar.h"
#include "platform/propertybag.h"
#include "platform/twips.h"
#include "platform/ui/imagebox.h"

namespace Lumisong {

namespace {

// A font saved as a property bag holds it ({"font": {...}}); none when absent or unreadable.
std::optional<FontDescription> designedFont(const ControlDesign &d)
{
    if (!d.properties.contains(u"Font"))
        return std::nullopt;
    const PropertyBag bag = PropertyBag::fromJson({{QStringLiteral("Font"), d.properties.value(u"Font")}});
    return bag.read(QStringLiteral("Font"), FontDescription());
}

// Labels are transparent (BackStyle 0, the default here) so that a skin shows
// through; BackStyle 1 fills them with the form's background.
QObject *createLabel(QWidget *form, const ControlDesign &d)
{
    auto *label = new QLabel(form);
    label->setText(d.properties.value(u"Caption").toString());
    label->setToolTip(d.properties.value(u"ToolTipText").toString());
    label->setTextFormat(Qt::PlainText);
    if (const auto font = designedFont(d))
        label->setFont(font->toQFont());
    label->setAutoFillBackground(d.properties.value(u"BackStyle").toInt(0) == 1);
    return label;
}

// An image control; "Picture" as a property bag holds it ({"picture": ":/skin/x.png"}).
QObject *createImage(QWidget *form, const ControlDesign &d)
{
    auto *image = new ImageBox(form);
    image->setStretch(d.properties.value(u"Stretch").toBool(false));
    if (d.properties.contains(u"Picture")) {
        const PropertyBag bag =
            PropertyBag::fromJson({{QStringLiteral("Picture"), d.properties.value(u"Picture")}});
        image->setPicture(bag.read(QStringLiteral("Picture"), Picture()).value_or(Picture()));
    }
    return image;
}

// A multi-line text box (MultiLine); Locked ones can be read and selected, not edited.
QObject *createTextBox(QWidget *form, const ControlDesign &d)
{
    auto *box = new QPlainTextEdit(form);
    box->setPlainText(d.properties.value(u"Text").toString());
    box->setReadOnly(d.properties.value(u"Locked").toBool(false));
    // Text that cannot be edited has no use for a Tab character: Tab moves on.
    box->setTabChangesFocus(box->isReadOnly());
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // ScrollBars: 0 none, 1 horizontal, 2 vertical, 3 both (shown when needed).
    const int bars = d.properties.value(u"ScrollBars").toInt(0);
    box->setVerticalScrollBarPolicy((bars & 2) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy((bars & 1) ? Qt::ScrollBarAsNeeded
                                                 : Qt::ScrollBarAlwaysOff);
    if (bars & 1)
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}

QObject *createCheckBox(QWidget *form, const ControlDesign &d)
{
    auto *box = new QCheckBox(d.properties.value(u"Caption").toString(), form);
    box->setChecked(d.properties.value(u"Value").toInt(0) == 1);
    return box;
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
    registerType(QStringLiteral("Image"), createImage);
    registerType(QStringLiteral("TextBox"), createTextBox);
    registerType(QStringLiteral("CheckBox"), createCheckBox);
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

bool FormLoader::buildFile(QWidget *form, const QString &formFile, QString *error)
{
    const std::optional<FormDesign> design = FormDesign::fromFile(formFile, error);
    return design && FormLoader().build(form, *design, error);
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
            // A check box designed smaller than the style's box would show it cut.
            if (qobject_cast<QCheckBox *>(widget))
                widget->resize(widget->size().expandedTo(widget->minimumSizeHint()));
        }
    }
    return true;
}

} // namespace Lumisong
