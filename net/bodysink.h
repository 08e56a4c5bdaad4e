#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace Lumisong {

// What the head of an answer says about the body that follows.
struct AnswerHead
{
    int status = 0;
    qint64 contentLength = -1; // declared; -1 when the answer names none
    bool chunked = false;      // Transfer-Encoding: chunked
    QByteArray etag;           // as sent, quotes and "W/" included; empty when none
    QByteArray lastModified;
    QByteArray contentRange;
};

// Takes a body as it arrives instead of the request keeping it in memory
// (song files of any size). Only the body of a 2xx answer comes here; error
// pages and redirect answers stay with the request.
class BodySink
{
public:
    // Before the first byte of the body (or at the end of an empty one).
    // False ends the request as failed.
    virtual bool beginBody(const AnswerHead &head) = 0;
    // The body's bytes in order; false ends the request as failed.
    virtual bool writeBody(const char *data, qint64 size) = 0;

protected:
    ~BodySink() = default;
};

} // namespace Lumisong
