#include "platform/singleinstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace Lumisong {

SingleInstance::SingleInstance(const QString &lockName, const QString &folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_path = QDir(dir).filePath(lockName + QStringLiteral(".lock"));
    m_lock = std::make_unique<QLockFile>(m_path);
    // A live holder keeps its lock however long it runs; only a lock whose
    // process has gone is stale.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryLock()
{
    if (!m_locked) {
        m_locked = m_lock->tryLock(0);
        m_heldElsewhere = !m_locked && m_lock->error() == QLockFile::LockFailedError;
    }
    return m_locked;
}

bool SingleInstance::isLocked() const
{
    return m_locked;
}

QString SingleInstance::lockFilePath() const
{
    return m_path;
}

} // namespace Lumisong
