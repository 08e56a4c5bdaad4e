// Form files and property bags, the JSON the forms and the preview tool load,
// with the pictures they name or hold inline. An input that is a form file is
// built into a form with every control; any other JSON object is read as one
// control's saved property bag by both of the program's own controls, placed
// and then loaded as the preview tool's --bag does. Beyond not crashing, saving
// must lose nothing: a bag written back as JSON reads as the same bag, and what
// a control saves after loading it reads into a new control that saves the
// same again.

#include "tests/fuzz/fuzzsupport.h"

#include <QJsonDocument>
#include <QWidget>

#include "forms/formdesign.h"
#include "forms/formloader.h"
#include "controls/button/zephbutton.h"
#include "controls/progressbar/progressbar.h"
#include "platform/propertybag.h"

using namespace Lumisong;

namespace {

// The entries that differ, as JSON, for the report of a finding.
QString differences(const PropertyBag &a, const PropertyBag &b)
{
    const QJsonObject left = a.toJson(), right = b.toJson();
    QStringList names = left.keys() + right.keys();
    names.removeDuplicates();
    QStringList lines;
    for (const QString &name : std::as_const(names)) {
        if (left.value(name) != right.value(name))
            lines << name + QStringLiteral(": ") +
                         QString::fromUtf8(
                             QJsonDocument(QJsonObject{{QStringLiteral("was"), left.value(name)},
                                                       {QStringLiteral("now"), right.value(name)}})
                                 .toJson(QJsonDocument::Compact));
    }
    return lines.join(QStringLiteral("; "));
}

void checkJsonRoundTrip(const QJsonObject &json)
{
    const PropertyBag bag = PropertyBag::fromJson(json, Fuzz::pictureFolder());
    Fuzz::check(PropertyBag::fromJson(bag.toJson(), Fuzz::pictureFolder()) == bag,
                QStringLiteral("a property bag saved as JSON does not read back the same"));
}

// The two controls name the steps of their lifecycle differently.
void place(ProgressBar &bar)
{
    bar.UserControl_InitProperties();
}
void place(zephbutton &button)
{
    button.InitProperties();
}
void load(ProgressBar &bar, const PropertyBag &bag)
{
    bar.UserControl_ReadProperties(bag);
}
void load(zephbutton &button, const PropertyBag &bag)
{
    button.ReadProperties(bag);
}
void save(const ProgressBar &bar, PropertyBag &bag)
{
    bar.UserControl_WriteProperties(bag);
}
void save(const zephbutton &button, PropertyBag &bag)
{
    button.WriteProperties(bag);
}
void hostLike(ProgressBar &, const ProgressBar &) {}
void hostLike(zephbutton &copy, const zephbutton &button)
{
    copy.setAmbient(button.ambient());
}

// What a control saves reads into a new one on the same form that saves the same.
template <typename Control> void checkSavedAgain(const Control &control)
{
    PropertyBag saved;
    save(control, saved);
    Control copy;
    copy.setObjectName(control.objectName());
    hostLike(copy, control);
    copy.resize(control.size());
    load(copy, saved);
    PropertyBag again;
    save(copy, again);
    Fuzz::check(again == saved,
                QStringLiteral("%1 does not save what it read: ")
                        .arg(QLatin1StringView(Control::staticMetaObject.className())) +
                    differences(saved, again));
}

// A placed control, then loaded from the bag, as the preview tool makes one.
template <typename Control> void checkBagOn(const PropertyBag &bag, const QString &name, QSize size)
{
    Control control;
    control.setObjectName(name);
    control.resize(size);
    place(control);
    load(control, bag);
    checkSavedAgain(control);
}

void buildForm(const FormDesign &design)
{
    for (const ControlDesign &control : design.controls) {
        if (control.type.startsWith(QLatin1String("Lumisong.")))
            checkJsonRoundTrip(control.properties);
    }
    QWidget form;
    QString error;
    FormLoader().build(&form, design, &error);
    for (const ProgressBar *bar : form.findChildren<ProgressBar *>())
        checkSavedAgain(*bar);
    for (const zephbutton *button : form.findChildren<zephbutton *>())
        checkSavedAgain(*button);
}

void readAsBag(const QJsonObject &json)
{
    checkJsonRoundTrip(json);
    const PropertyBag bag = PropertyBag::fromJson(json, Fuzz::pictureFolder());
    checkBagOn<ProgressBar>(bag, QStringLiteral("process"), QSize(773, 39));
    checkBagOn<zephbutton>(bag, QStringLiteral("btnFuzz"), QSize(75, 23));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::ensureOffscreenApplication();
    Fuzz::pictureFolder();
    // Fonts and styles load on first use; that first time is no input's cost.
    QString error;
    if (const auto form = FormDesign::fromFile(QStringLiteral(":/forms/frmmain.json"), &error))
        buildForm(*form);
    else
        Fuzz::fail(error);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    if (const std::optional<FormDesign> design = FormDesign::fromJson(json, &error)) {
        buildForm(*design);
    } else {
        const QJsonDocument document = QJsonDocument::fromJson(json);
        if (document.isObject())
            readAsBag(document.object());
    }
    Fuzz::runPendingEvents();
    return 0;
}
