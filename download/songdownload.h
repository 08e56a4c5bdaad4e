#pragma once

#include <QFile>
#include <QObject>
#include <QString>

#include <memory>

#include "catalogue/songrecord.h"
#include "net/bodysink.h"
#include "net/fetchresult.h"

namespace Lumisong {

class PageRequest;

// The file of one song, fetched into FOLDER/NAME. The bytes go to NAME.part
// as they arrive, and NAME.part becomes NAME only once the body is complete:
// its declared length reached, or its chunked data properly ended. The
// answer's ETag (strong) or Last-Modified is kept beside it in
// NAME.part.validator, so that a later run continues the .part with a Range
// request and If-Range, and a file that changed meanwhile comes whole instead
// of being spliced from two versions. An answer of 200 to a Range request
// starts the .part again from zero; so do a 416, a Content-Range that does not
// continue the .part, and a .part that has no validator. Nothing but the
// song's own .part and validator is ever written over or removed.
//
// Does not wait: started, it runs on the event loop and ends with finished().
class SongDownload final : public QObject, private BodySink
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SongDownload)

public:
    enum class Outcome {
        Running,
        Done,    // NAME holds the song
        Failed,  // this song only; its .part stays for the next run
        Fatal,   // no song can go on (the disk is full)
        Aborted, // stopped by the caller; the .part stays
    };

    SongDownload(QString folder, QString name, SongRecord song, bool tags,
                 QObject *parent = nullptr);
    ~SongDownload() override;

    // Once; finished() follows from the event loop.
    void start();
    // Ends a download under way without a signal; its .part stays.
    void abort();

    Outcome outcome() const { return m_outcome; }
    QString errorString() const { return m_error; }
    // A remark that is no failure (a file that is not audio stays untagged).
    QString note() const { return m_note; }
    const SongRecord &song() const { return m_song; }
    QString name() const { return m_name; }
    QString path() const;
    // Bytes of the file now in the .part (or the final file), and its whole
    // size once an answer declared it (-1 before).
    qint64 bytesHave() const { return m_have; }
    qint64 bytesTotal() const { return m_total; }
    bool multiplexed() const { return m_multiplexed; }

signals:
    void received(qint64 bytes); // new bytes written since the last signal
    void finished();

private:
    bool beginBody(const AnswerHead &head) override;
    bool writeBody(const char *data, qint64 size) override;
    void request();
    void onFinished(const FetchResult &result);
    bool restartFromZero();
    void complete();
    void end(Outcome outcome, const QString &error = {});
    bool diskFull() const;

    QString m_folder;
    QString m_name;
    SongRecord m_song;
    bool m_tags;
    QFile m_part;
    std::unique_ptr<PageRequest> m_request;
    qint64 m_offset = 0;  // where the current answer's body goes in the .part
    qint64 m_have = 0;
    qint64 m_total = -1;
    bool m_chunked = false;
    bool m_restarted = false;
    bool m_restartWanted = false;
    bool m_multiplexed = false;
    int m_writeErrno = 0;
    Outcome m_outcome = Outcome::Running;
    QString m_error;
    QString m_note;
};

} // namespace Lumisong
