#include "download/downloadlog.h"

namespace Lumisong {
Q_LOGGING_CATEGORY(lcDownload, "lumisong.download")
}
