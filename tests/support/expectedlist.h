#pragma once

#include <QByteArray>
#include <QString>

namespace Lumisong {
class DemoCatalogue;
}

namespace Lumisong::Test {

// The list file (lst, the default kind) of every song of a demo catalogue as
// reached through siteBase: one address per line, then the trailer line.
QByteArray expectedListFile(const DemoCatalogue &catalogue, const QString &siteBase);

} // namespace Lumisong::Test
