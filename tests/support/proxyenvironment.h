#pragma once

#include <optional>
#include <utility>

#include <QByteArray>
#include <QList>

namespace Lumisong::Test {

// For its scope, the proxy variables of this process (and of the children it
// starts) are exactly the ones given: every other one, in either case, is
// unset. The previous values come back when it ends.
class ProxyEnvironment
{
public:
    using Variable = std::pair<QByteArray, QByteArray>; // name, value
    explicit ProxyEnvironment(const QList<Variable> &variables);
    ~ProxyEnvironment();
    ProxyEnvironment(const ProxyEnvironment &) = delete;
    ProxyEnvironment &operator=(const ProxyEnvironment &) = delete;

    // Every name curl reads a proxy from.
    static const QList<QByteArray> &names();

private:
    QList<std::pair<QByteArray, std::optional<QByteArray>>> m_saved;
};

} // namespace Lumisong::Test
