#include "common/statustexts.h"

namespace Lumisong::StatusText {

QString ready()
{
    return QStringLiteral("准备就绪");
}

QString checkingForUpdate()
{
    return QStringLiteral("正在检查更新中...");
}

QString fetchingCatalogue()
{
    return QStringLiteral("正在获取新歌列表中...");
}

QString fetchingCatalogueAfterUpdate()
{
    return QStringLiteral("正在获取新歌列表，请稍候...");
}

QString catalogueLoaded(int count, bool truncated)
{
    const QString n = QString::number(count);
    if (!truncated)
        return QStringLiteral("获取新歌列表完成，共 ") + n + QStringLiteral(" 首歌...");
    // The table holds the first songs only; say so instead of hiding the rest.
    return QStringLiteral("获取新歌列表完成，共 ") + n + QStringLiteral(" 首歌（页面上的歌曲多于 ") + n
           + QStringLiteral(" 首，只载入了前 ") + n + QStringLiteral(" 首）...");
}

QString catalogueMissing()
{
    return QStringLiteral("获取新歌列表失败，请检查网络...");
}

QString listStopped()
{
    return QStringLiteral("已停止生成列表。");
}

QString listAddressFailed()
{
    return QStringLiteral("生成列表失败，请检查网络...");
}

QString listWriteFailed()
{
    return QStringLiteral("生成列表失败，无法写入文件...");
}

} // namespace Lumisong::StatusText
