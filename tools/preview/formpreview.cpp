#include "tools/preview/formpreview.h"

#include <QPixmap>

#include "forms/formloader.h"
#include "app/frmmain.h"
#include "update/ui/frmupdate.h"

namespace Lumisong {

namespace {

// Shows the form without putting it on a screen, so that it is polished and
// laid out as on a desktop, and takes its pixels.
QImage grabLaidOut(QWidget &form, std::optional<QSize> size)
{
    if (size)
        form.setFixedSize(*size);
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.show();
    const QImage image = form.grab().toImage();
    form.hide();
    return image;
}

} // namespace

QStringList FormPreview::names()
{
    return {QStringLiteral("frmMain"), QStringLiteral("frmUpdate")};
}

QImage FormPreview::render(const QString &form, std::optional<QSize> size, QString *error)
{
    if (!names().contains(form)) {
        *error = QStringLiteral("unknown form \"%1\" (known: %2)")
                     .arg(form, names().join(QStringLiteral(", ")));
        return {};
    }
    // Nothing is fetched: the window is built, never loaded.
    frmMain main(frmMain::Environment{});
    if (form == u"frmMain")
        return grabLaidOut(main, size);
    // The dialog copies its skin from the main window when it loads.
    frmUpdate dialog(frmUpdate::Environment{}, &FormLoader::buildFile);
    dialog.Form_Load(&main);
    return grabLaidOut(dialog, size);
}

} // namespace Lumisong
