#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace Lumisong {

// Tells whether another run of the program holds the per-user instance lock.
// The lock is a lock file in the user's runtime folder; a file left behind by a
// run that was killed is recognised as stale and taken over. The lock is held
// until this object ends.
class SingleInstance
{
public:
    // lockName names the lock file; folder empty = the per-user runtime folder.
    explicit SingleInstance(const QString &lockName, const QString &folder = QString());
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;
    ~SingleInstance();

    // True when this run now holds the lock (also when it already held it);
    // false when another live process holds it or the folder is unusable.
    bool tryLock();
    bool isLocked() const;
    // After a failed tryLock: true when another live process holds the lock,
    // false when the lock file could not be made at all (no such folder, no
    // permission), which says nothing about other runs.
    bool heldElsewhere() const { return m_heldElsewhere; }
    QString lockFilePath() const;

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
    bool m_heldElsewhere = false;
};

} // namespace Lumisong
