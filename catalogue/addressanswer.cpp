#include "catalogue/addressanswer.h"

#include "catalogue/linebreak.h"

namespace Lumisong {

namespace {

// Characters a URL path and query never hold unencoded.
bool outsideUrlPath(QChar c)
{
    static constexpr QStringView Excluded = u"<>\"{}|\\^`";
    return c.isSpace() || breaksLine(c) || Excluded.contains(c)
           // U+FFFD stands for bytes that are no GBK text: the answer is garbled.
           || c == QChar::ReplacementCharacter;
}

std::optional<QString> refuse(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

} // namespace

std::optional<QString> addressFromAnswer(const QString &answer, QString *why)
{
    const QString address = answer.trimmed();
    if (address.isEmpty())
        return refuse(why, QStringLiteral("the answer is empty"));
    // The site base goes in front: anything but a path would make another address.
    if (!address.startsWith(u'/'))
        return refuse(why, QStringLiteral("the answer is no path on the site"));
    for (const QChar c : address) {
        if (outsideUrlPath(c))
            return refuse(why, QStringLiteral("the answer holds U+%1, which no address holds")
                                   .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0')));
    }
    return address;
}

} // namespace Lumisong
