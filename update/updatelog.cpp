#include "update/updatelog.h"

namespace Lumisong {
Q_LOGGING_CATEGORY(lcUpdate, "lumisong.update")
}
