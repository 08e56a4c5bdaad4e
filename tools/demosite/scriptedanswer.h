#pragma once

#include <QByteArray>
#include <QList>

#include <utility>

namespace Lumisong {

// A raw answer that a test puts in place of whatever the demo site would serve
// at a path.
struct ScriptedAnswer
{
    int status = 200;
    QList<std::pair<QByteArray, QByteArray>> headers; // sent as given
    QByteArray body;
    int latencyMs = 0;              // wait this long before answering
    bool stall = false;             // read the request, then never answer
    bool closeWithoutAnswer = false;
    bool sendContentLength = true;  // false: the end of the body is the closed connection
    qint64 cutAfterBytes = -1;      // >= 0: declare the whole body, send only this many bytes, close

    static ScriptedAnswer withBody(QByteArray body, int latencyMs = 0)
    {
        ScriptedAnswer answer;
        answer.body = std::move(body);
        answer.latencyMs = latencyMs;
        return answer;
    }
};

} // namespace Lumisong
