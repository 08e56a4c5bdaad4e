#pragma once

#include <QString>

#include "net/fetchresult.h"

namespace Lumisong::Test {

// One PageRequest, waited for: its result once it has ended. The fetch limits
// bound the request; a request still under way after two minutes is aborted.
FetchResult fetchNow(const QString &url, const QString &charset);

} // namespace Lumisong::Test
