#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace Lumisong {

// One of the program's forms drawn whole, offscreen: built from its form file,
// with its skin and the texts it is designed with (nothing loaded, nothing
// checked), laid out by its frame's rule at the designed client size or at
// the size asked for.
class FormPreview
{
public:
    // The forms it knows: frmMain, frmUpdate.
    static QStringList names();
    // A null image with *error set for a form it does not know.
    static QImage render(const QString &form, std::optional<QSize> size, QString *error);
};

} // namespace Lumisong
