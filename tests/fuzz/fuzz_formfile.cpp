// Form files and property bags, the JSON the forms and the preview tool load,
// with the pictures they name or hold inline. An input that is a form file is
// built into a form with every control; any other JSON object is read as one
// control's saved property bag by both of the program's own controls, placed
// and then loaded as the preview tool's --bag does. Beyond not crashing, saving must lose nothing: a
// bag written back as JSON reads as the same bag, and what a control saves
// after loading it reads into a new control that saves the same again.

#include "tests/fuzz/fuzzsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QWidget>

#include "app/formdesign.h"
#include "app/formloader.h"
#include "controls/button/zephbutton.h"
#include "controls/progressbar/progressbar.h"
#include "platform/propertybag.h"

using namespace Lumisong;

namespace {

// Pictures that inputs can name by relative path: "a.png" (with alpha),
// "b.bmp" (keyed by MaskColor), "c.ico".
QString pictureFolder()
{
    static QTemporaryDir folder;
    static const bool made = [] {
        QImage image(16, 12, QImage::Format_ARGB32);
        image.fill(qRgba(200, 40, 40, 128));
        image.setPixel(3, 4, qRgba(0, 0, 0, 0));
        const QDir dir(folder.path());
        return image.save(dir.filePath(QStringLiteral("a.png")))
               && image.convertToFormat(QImage::Format_RGB32).save(dir.filePath(QStringLiteral("b.bmp")))
               && image.save(dir.filePath(QStringLiteral("c.ico")));
    }();
    if (!made)
        Fuzz::fail(QStringLiteral("cannot write the pictures the inputs name"));
    return folder.path();
}

// The entries that differ, as JSON, for the report of a finding.
QString differences(const PropertyBag &a, const PropertyBag &b)
{
    const QJsonObject left = a.toJson(), right = b.toJson();
    QStringList names = left.keys() + right.keys();
    names.removeDuplicates();
    QStringList lines;
    for (const QString &name : std::as_const(names)) {
        if (left.value(name) != right.value(name))
            lines << name + QStringLiteral(": ")
                         + QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("was"), left.value(name)},
                                                                      {QStringLiteral("now"), right.value(name)}})
                                                 .toJson(QJsonDocument::Compact));
    }
    return lines.join(QStringLiteral("; "));
}

void checkJsonRoundTrip(const QJsonObject &json)
{
    const PropertyBag bag = PropertyBag::fromJson(json, pictureFolder());
    Fuzz::check(PropertyBag::fromJson(bag.toJson(), pictureFolder()) == bag,
                QStringLiteral("a property bag saved as JSON does not read back the same"));
}

void checkSavedAgain(const ProgressBar &bar)
{
    PropertyBag saved;
    bar.UserControl_WriteProperties(saved);
    ProgressBar copy;
    copy.setObjectName(bar.objectName());
    copy.resize(bar.size());
    copy.UserControl_ReadProperties(saved);
    PropertyBag again;
    copy.UserControl_WriteProperties(again);
    Fuzz::check(again == saved, QStringLiteral("the progress bar does not save what it read: ")
                                    + differences(saved, again));
}

void checkSavedAgain(const zephbutton &button)
{
    PropertyBag saved;
    button.WriteProperties(saved);
    zephbutton copy;
    copy.setObjectName(button.objectName());
    copy.setAmbient(button.ambient());
    copy.resize(button.size());
    copy.ReadProperties(saved);
    PropertyBag again;
    copy.WriteProperties(again);
    Fuzz::check(again == saved, QStringLiteral("the button does not save what it read: ")
                                    + differences(saved, again));
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
    const PropertyBag bag = PropertyBag::fromJson(json, pictureFolder());
    ProgressBar bar;
    bar.setObjectName(QStringLiteral("process"));
    bar.resize(773, 39);
    bar.UserControl_InitProperties();
    bar.UserControl_ReadProperties(bag);
    checkSavedAgain(bar);
    zephbutton button;
    button.setObjectName(QStringLiteral("btnFuzz"));
    button.resize(75, 23);
    button.InitProperties();
    button.ReadProperties(bag);
    checkSavedAgain(button);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::ensureOffscreenApplication();
    pictureFolder();
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
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                    qsizetype(size));
    QString error;
    if (const std::optional<FormDesign> design = FormDesign::fromJson(json, &error)) {
        buildForm(*design);
    } else {
        const QJsonDocument document = QJsonDocument::fromJson(json);
        if (document.isObject())
            readAsBag(document.object());
    }
    // What the program's event loop would do between two forms: deferred
    // deletions, and the timers that trim Qt's font and style caches.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return 0;
}
