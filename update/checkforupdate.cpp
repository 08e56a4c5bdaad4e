#include "update/checkforupdate.h"

namespace Lumisong {

QString CheckForUpdate(const UpdateCheckRequest &request)
{
    Q_UNUSED(request);
    return UpdateCheckResult::UpToDate.toString();
}

} // namespace Lumisong
