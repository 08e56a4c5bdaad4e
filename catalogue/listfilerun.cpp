#include "catalogue/listfilerun.h"

#include <QStringList>

#include "catalogue/catalogue.h"
#include "catalogue/listfilewriter.h"

namespace Lumisong {

ListFileRun::ListFileRun(Catalogue &catalogue, TickQuery isTicked)
    : m_catalogue(catalogue)
    , m_isTicked(std::move(isTicked))
{
}

int ListFileRun::countTicked() const
{
    int count = 0;
    for (int slot = 0; slot < m_catalogue.songCount(); ++slot) {
        if (m_isTicked(slot))
            ++count;
    }
    return count;
}

ListFileRun::Outcome ListFileRun::run(const QString &path, const SongStarted &songStarted)
{
    m_failedSlot = -1;
    m_error.clear();
    ListFileWriter writer(path);
    if (!writer.canWrite()) {
        m_error = writer.errorString();
        return Outcome::WriteFailed;
    }
    QStringList addresses;
    int finished = 0;
    for (int slot = 0; slot < m_catalogue.songCount(); ++slot) {
        if (!m_isTicked(slot))
            continue;
        if (songStarted)
            songStarted(finished);
        ++finished;
        if (!m_catalogue.resolveAddress(slot)) {
            m_failedSlot = slot;
            m_error = QStringLiteral("the address of row %1 could not be resolved").arg(slot + 1);
            return Outcome::ResolveFailed;
        }
        addresses << m_catalogue.song(slot).downloadUrl;
    }
    if (!writer.write(addresses)) {
        m_error = writer.errorString();
        return Outcome::WriteFailed;
    }
    return Outcome::Written;
}

int ListFileRun::failedSlot() const
{
    return m_failedSlot;
}

QString ListFileRun::errorString() const
{
    return m_error;
}

} // namespace Lumisong
