#include "common/applog.h"

namespace Lumisong {
Q_LOGGING_CATEGORY(lcApp, "lumisong.app")
}
