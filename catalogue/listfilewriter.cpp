#include "catalogue/listfilewriter.h"

#include <QFile>
#include <QSaveFile>

#include <memory>
#include <optional>
#include <vector>

namespace Lumisong {

namespace {

// The contents of a target as they are before it is replaced: nullopt when
// there is no such file; false when it is there but cannot be read.
bool readFormer(const QString &path, std::optional<QByteArray> *former)
{
    QFile file(path);
    if (!file.exists()) {
        former->reset();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *former = file.readAll();
    return file.error() == QFileDevice::NoError;
}

void putBack(const QString &path, const std::optional<QByteArray> &former)
{
    if (!former) {
        QFile::remove(path);
        return;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(*former) == former->size())
        file.commit();
}

} // namespace

bool ListFileWriter::canWrite(const QString &path)
{
    m_error.clear();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    file.cancelWriting();
    return true;
}

bool ListFileWriter::write(const QList<File> &files)
{
    m_error.clear();
    // Everything is written out before any target is touched; what a full
    // disk refuses is refused here.
    std::vector<std::unique_ptr<QSaveFile>> pending;
    for (const File &file : files) {
        auto save = std::make_unique<QSaveFile>(file.path);
        if (!save->open(QIODevice::WriteOnly) || save->write(file.bytes) != file.bytes.size() ||
            !save->flush()) {
            m_error = file.path + u": " + save->errorString();
            return false; // the destructors remove the temporary files
        }
        pending.push_back(std::move(save));
    }
    // Each target but the last may have to be put back.
    std::vector<std::optional<QByteArray>> former(files.size());
    for (qsizetype i = 0; i + 1 < files.size(); ++i) {
        if (!readFormer(files.at(i).path, &former[size_t(i)])) {
            m_error = files.at(i).path + u": cannot keep the old contents";
            return false;
        }
    }
    for (size_t i = 0; i < pending.size(); ++i) {
        if (pending[i]->commit())
            continue;
        m_error = files.at(qsizetype(i)).path + u": " + pending[i]->errorString();
        for (size_t placed = 0; placed < i; ++placed)
            putBack(files.at(qsizetype(placed)).path, former[placed]);
        return false;
    }
    return true;
}

const QString &ListFileWriter::errorString() const
{
    return m_error;
}

} // namespace Lumisong
