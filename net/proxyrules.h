#pragma once

#include <QByteArray>

namespace Lumisong {

// The hosts reached without a proxy: the environment's no_proxy (or NO_PROXY)
// and, whatever it says, this machine's own addresses. Curl reads the proxies
// themselves from the environment.
QByteArray noProxyHosts();

} // namespace Lumisong
