#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace Lumisong {

class Catalogue;
class PageRequest;
struct FetchResult;

// The end of one address request.
struct AddressResult
{
    int slot = -1;
    bool ok = false;      // false: the request failed, or the answer is no address
    QString downloadUrl;  // site base + answer, when ok
    QString error;        // why not, for logs
    bool multiplexed = false; // the answer came on a connection that carries
                              // requests side by side (HTTP/2)
};

// Asks the site for songs' download addresses (hashedUrl + songId, read as
// "gb2312") without waiting: each request runs on the event loop and its end
// comes as resolved(). The resolver holds the requests, the catalogue the
// songs: nothing here changes a song; the caller stores downloadUrl when it
// wants the answer. The catalogue must outlive the resolver.
class AddressResolver final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddressResolver)

public:
    // A site that answers 503 or 429 and asks for at most this long a pause
    // (Retry-After) is asked once more after it.
    static constexpr int MaxRetryAfterSeconds = 10;

    explicit AddressResolver(const Catalogue &catalogue, QObject *parent = nullptr);
    ~AddressResolver() override; // requests under way end without a signal

    // Starts asking for the slot's address; resolved() follows from the event
    // loop. False, and nothing follows, when no request can be made: a slot
    // outside the loaded rows, or a page that gave no request prefix (a
    // request to the bare song id would be no address).
    bool resolveAddress(int slot);
    // Ends every request under way, without a signal.
    void abortAll();
    int inFlight() const { return int(m_requests.size()); }

signals:
    void resolved(const Lumisong::AddressResult &result);

private:
    void onFinished(PageRequest *request, int slot, const FetchResult &answer);

    const Catalogue &m_catalogue;
    QList<PageRequest *> m_requests;
};

} // namespace Lumisong
