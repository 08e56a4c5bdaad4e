#include "net/netlog.h"

namespace Lumisong {
Q_LOGGING_CATEGORY(lcNet, "lumisong.net")
}
