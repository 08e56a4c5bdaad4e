#include "catalogue/addressanswer.h"

namespace Lumisong {

std::optional<QString> addressFromAnswer(const QString &answer)
{
    QString address = answer.trimmed();
    if (address.isEmpty())
        return std::nullopt;
    for (const QChar c : std::as_const(address)) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            return std::nullopt;
    }
    return address;
}

} // namespace Lumisong
