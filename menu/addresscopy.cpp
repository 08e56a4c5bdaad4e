#include "menu/addresscopy.h"

#include "catalogue/addressresolver.h"
#include "catalogue/catalogue.h"
#include "platform/ui/clipboard.h"

namespace Lumisong {

AddressCopy::AddressCopy(Catalogue &catalogue, Clipboard &clipboard, QObject *parent)
    : QObject(parent)
    , m_catalogue(catalogue)
    , m_clipboard(clipboard)
    , m_resolver(new AddressResolver(catalogue, this))
{
    connect(m_resolver, &AddressResolver::resolved, this, &AddressCopy::onResolved);
}

AddressCopy::~AddressCopy() = default;

void AddressCopy::copy(int slot)
{
    if (slot < 0 || slot >= m_catalogue.songCount())
        return;
    if (slot == m_waiting)
        return; // its answer is on the way and will be copied
    abort();
    if (!m_catalogue.song(slot).downloadUrl.isEmpty()) {
        put(m_catalogue.song(slot).downloadUrl);
        return;
    }
    if (!m_resolver->resolveAddress(slot)) {
        emit failed();
        return;
    }
    m_waiting = slot;
}

void AddressCopy::abort()
{
    m_resolver->abortAll();
    m_waiting = -1;
}

void AddressCopy::onResolved(const AddressResult &result)
{
    m_waiting = -1;
    if (!result.ok) {
        emit failed();
        return;
    }
    m_catalogue.song(result.slot).downloadUrl = result.downloadUrl;
    put(result.downloadUrl);
}

void AddressCopy::put(const QString &address)
{
    m_clipboard.clear();
    m_clipboard.setText(address);
}

QString AddressCopy::failureText()
{
    return QStringLiteral("获取下载地址失败，请检查网络...");
}

} // namespace Lumisong
