#include "tests/support/proxyenvironment.h"

#include <QtGlobal>

namespace Lumisong::Test {

const QList<QByteArray> &ProxyEnvironment::names()
{
    static const QList<QByteArray> all = {"http_proxy", "HTTP_PROXY", "https_proxy",
                                          "HTTPS_PROXY", "all_proxy",  "ALL_PROXY",
                                          "no_proxy",   "NO_PROXY"};
    return all;
}

ProxyEnvironment::ProxyEnvironment(const QList<Variable> &variables)
{
    for (const QByteArray &name : names()) {
        std::optional<QByteArray> value;
        if (qEnvironmentVariableIsSet(name.constData()))
            value = qgetenv(name.constData());
        m_saved.append({name, value});
        qunsetenv(name.constData());
    }
    for (const auto &[name, value] : variables)
        qputenv(name.constData(), value);
}

ProxyEnvironment::~ProxyEnvironment()
{
    for (const auto &[name, value] : m_saved) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
}

} // namespace Lumisong::Test
