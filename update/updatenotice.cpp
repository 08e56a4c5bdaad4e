#include "update/updatenotice.h"

#include "net/modgetcode.h"

namespace Lumisong {

UpdateNotice UpdateNotice::read(const QString &page, const QString &currentVersion,
                                const QString &skippedVersion)
{
    UpdateNotice notice;
    const QString title = textBetween(page, u"<title>", u"</title>");
    notice.newestVersion = textBetween(title, u"(V", u")");
    notice.due = !notice.newestVersion.isEmpty() && notice.newestVersion != currentVersion &&
                 notice.newestVersion != skippedVersion;
    if (!notice.due)
        return notice;

    const QString mark = QStringLiteral("【本次更新】");
    notice.releaseDate = textBetween(page, mark, u"<br>");
    notice.lblUpdate = QStringLiteral("检测到新版本：") + notice.newestVersion +
                       QStringLiteral("（当前版本：") + currentVersion + QStringLiteral("）");
    const QString notesMark = mark + notice.releaseDate + u"<br>";
    QString notes = textBetween(page, notesMark, u"</p>");
    notes.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    notes.replace(QStringLiteral("&ldquo;"), QStringLiteral("\u201C"));
    notes.replace(QStringLiteral("&rdquo;"), QStringLiteral("\u201D"));
    notice.txtNew = notes;
    notice.titleSuffix = u'(' + QStringLiteral("更新于：") + notice.releaseDate + u')';
    return notice;
}

} // namespace Lumisong
