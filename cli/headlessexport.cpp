#include "cli/headlessexport.h"

namespace Lumisong {

HeadlessExport::HeadlessExport(QString siteBase, QString file, QString songs, std::FILE *out,
                               std::FILE *err, QObject *parent)
    : ChosenSongsCommand({std::move(siteBase), std::move(songs), QString(), 0, 0}, out, err, parent)
    , m_file(std::move(file))
{
}

HeadlessExport::~HeadlessExport() = default;

void HeadlessExport::start()
{
    chooseAndResolve(m_out, m_file, m_format);
}

void HeadlessExport::resolved()
{
    say(m_out, QStringLiteral("列表成功生成！"));
    emit finished(0);
}

} // namespace Lumisong
