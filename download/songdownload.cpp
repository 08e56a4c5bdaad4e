#include "download/songdownload.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "download/songtagger.h"
#include "net/pagerequest.h"

namespace Lumisong {

namespace {

const QString PartSuffix = QStringLiteral(".part");
const QString ValidatorSuffix = QStringLiteral(".part.validator");
constexpr qint64 MaxValidatorBytes = 1024;

// "bytes FIRST-LAST/TOTAL": FIRST and TOTAL (-1 for "*"); nullopt when malformed.
bool parseContentRange(const QByteArray &value, qint64 *first, qint64 *total)
{
    if (!value.startsWith("bytes "))
        return false;
    const QByteArray spec = value.mid(6).trimmed();
    const qsizetype dash = spec.indexOf('-');
    const qsizetype slash = spec.indexOf('/');
    if (dash <= 0 || slash < dash)
        return false;
    bool ok = false;
    *first = spec.left(dash).toLongLong(&ok);
    if (!ok)
        return false;
    const QByteArray length = spec.mid(slash + 1);
    *total = length == "*" ? -1 : length.toLongLong(&ok);
    return ok;
}

// What If-Range can carry: a strong ETag, else the date; empty when neither.
QByteArray validatorOf(const AnswerHead &head)
{
    if (!head.etag.isEmpty() && !head.etag.startsWith("W/"))
        return head.etag;
    return head.lastModified;
}

} // namespace

SongDownload::SongDownload(QString folder, QString name, SongRecord song, bool tags,
                           QObject *parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_name(std::move(name))
    , m_song(std::move(song))
    , m_tags(tags)
{
}

SongDownload::~SongDownload() = default;

QString SongDownload::path() const
{
    return QDir(m_folder).filePath(m_name);
}

void SongDownload::start()
{
    const QFileInfo target(path());
    if (target.exists() || target.isSymLink()) { // not a regular file, or it would have counted
        QMetaObject::invokeMethod(this, [this] {
            end(Outcome::Failed, QStringLiteral("%1 is in the way (a folder or other entry)").arg(m_name));
        }, Qt::QueuedConnection);
        return;
    }
    m_part.setFileName(path() + PartSuffix);
    if (!m_part.open(QIODevice::ReadWrite)) {
        const QString error = m_part.fileName() + u": " + m_part.errorString();
        QMetaObject::invokeMethod(this, [this, error] { end(Outcome::Failed, error); },
                                  Qt::QueuedConnection);
        return;
    }
    request();
}

void SongDownload::request()
{
    QFile validatorFile(path() + ValidatorSuffix);
    QByteArray validator;
    if (validatorFile.open(QIODevice::ReadOnly))
        validator = validatorFile.read(MaxValidatorBytes).trimmed();
    m_offset = m_part.size();
    m_have = m_offset;
    QList<QByteArray> headers;
    if (m_offset > 0 && !validator.isEmpty() && !validator.contains('\n'))
        headers << "Range: bytes=" + QByteArray::number(m_offset) + '-' << "If-Range: " + validator;
    else
        m_offset = 0; // without a validator the .part cannot be continued safely
    m_restartWanted = false;
    m_request = std::make_unique<PageRequest>(m_song.downloadUrl, QStringLiteral("UTF-8"));
    m_request->streamTo(this, headers);
    connect(m_request.get(), &PageRequest::finished, this, &SongDownload::onFinished);
    m_request->start();
}

bool SongDownload::beginBody(const AnswerHead &head)
{
    m_chunked = head.chunked;
    if (head.status == 206) {
        qint64 first = -1;
        if (!parseContentRange(head.contentRange, &first, &m_total) || first != m_offset
            || m_offset == 0) {
            m_restartWanted = true; // not the continuation of this .part
            return false;
        }
    } else {
        // The whole file: a first answer, or the server's answer to a Range
        // it ignored or to a file that changed. The .part starts again.
        m_offset = 0;
        m_total = head.contentLength;
        QFile::remove(path() + ValidatorSuffix);
        if (!m_part.resize(0)) {
            m_writeErrno = errno;
            return false;
        }
        const QByteArray validator = validatorOf(head);
        if (!validator.isEmpty()) {
            QSaveFile file(path() + ValidatorSuffix);
            if (!file.open(QIODevice::WriteOnly) || file.write(validator + '\n') < 0 || !file.commit()) {
                m_writeErrno = errno;
                return false;
            }
        }
    }
    m_have = m_offset;
    return m_part.seek(m_offset);
}

bool SongDownload::writeBody(const char *data, qint64 size)
{
    errno = 0;
    if (m_part.write(data, size) != size) {
        m_writeErrno = errno;
        return false;
    }
    m_have += size;
    emit received(size);
    return true;
}

bool SongDownload::diskFull() const
{
    return m_writeErrno == ENOSPC || m_writeErrno == EDQUOT || m_writeErrno == EFBIG;
}

void SongDownload::onFinished(const FetchResult &result)
{
    m_multiplexed = m_multiplexed || result.multiplexed;
    if (result.ok) {
        complete();
        return;
    }
    if (diskFull()) {
        end(Outcome::Fatal, QStringLiteral("%1: %2").arg(m_part.fileName(), QString::fromLocal8Bit(strerror(m_writeErrno))));
        return;
    }
    if ((result.status == 416 || m_restartWanted) && restartFromZero())
        return;
    if (m_writeErrno != 0) {
        end(Outcome::Failed, QStringLiteral("%1: %2").arg(m_part.fileName(), QString::fromLocal8Bit(strerror(m_writeErrno))));
        return;
    }
    end(Outcome::Failed, result.error);
}

// Once per download: the .part is not the start of the file the server has.
bool SongDownload::restartFromZero()
{
    if (m_restarted)
        return false;
    m_restarted = true;
    QFile::remove(path() + ValidatorSuffix);
    if (!m_part.resize(0))
        return false;
    m_request.release()->deleteLater(); // its finished() is still on the stack
    request();
    return true;
}

void SongDownload::complete()
{
    // curl ends a body short of its declared length with an error; one with
    // neither a length nor chunks ends with the connection, and could be cut.
    if (m_total >= 0 ? m_part.size() != m_total : !m_chunked) {
        end(Outcome::Failed, m_total >= 0
                                 ? QStringLiteral("%1 of %2 bytes arrived").arg(m_part.size()).arg(m_total)
                                 : QStringLiteral("the server named no length, so the file may be incomplete"));
        return;
    }
    if (!m_part.flush()) {
        m_writeErrno = errno;
        end(diskFull() ? Outcome::Fatal : Outcome::Failed, m_part.fileName() + u": " + m_part.errorString());
        return;
    }
    m_part.close();
    // From here a restart must fetch the file again: the tag changes the .part.
    QFile::remove(path() + ValidatorSuffix);
    if (m_tags && SongTagger::wantsTag(m_name)) {
        switch (SongTagger::tag(m_part.fileName(), m_song)) {
        case SongTagger::Result::Tagged:
            break;
        case SongTagger::Result::NotAudio:
            m_note = QStringLiteral("%1 holds no MP3 audio; it is kept without tags").arg(m_name);
            break;
        case SongTagger::Result::Failed:
            m_note = QStringLiteral("%1 could not be tagged; it is kept as served").arg(m_name);
            break;
        }
    }
    m_have = QFileInfo(m_part.fileName()).size();
    // rename() would replace a file that appeared meanwhile; a link never does.
    // Where the file system has no links, QFile::rename, which refuses an existing target.
    const bool linked = ::link(QFile::encodeName(m_part.fileName()).constData(),
                               QFile::encodeName(path()).constData())
                        == 0;
    const int linkErrno = errno;
    if (linked) {
        QFile::remove(m_part.fileName());
    } else if (linkErrno == EEXIST || !QFile::rename(m_part.fileName(), path())) {
        end(Outcome::Failed, QStringLiteral("%1: %2").arg(path(), QString::fromLocal8Bit(strerror(linkErrno))));
        return;
    }
    end(Outcome::Done);
}

void SongDownload::abort()
{
    if (m_outcome != Outcome::Running)
        return;
    m_outcome = Outcome::Aborted;
    m_request.reset();
    m_part.close();
}

void SongDownload::end(Outcome outcome, const QString &error)
{
    if (m_outcome != Outcome::Running)
        return;
    m_outcome = outcome;
    m_error = error;
    m_part.close();
    emit finished();
}

} // namespace Lumisong
