#include "catalogue/addressanswer.h"

#include "catalogue/linebreak.h"

namespace Lumisong {

std::optional<QString> addressFromAnswer(const QString &answer)
{
    QString address = answer.trimmed();
    if (address.isEmpty())
        return std::nullopt;
    for (const QChar c : std::as_const(address)) {
        // U+FFFD stands for bytes that are no GBK text: the answer is garbled.
        if (breaksLine(c) || c == QChar::ReplacementCharacter)
            return std::nullopt;
    }
    return address;
}

} // namespace Lumisong
