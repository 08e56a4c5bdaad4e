#include "net/curlhandles.h"

#include <mutex>

namespace Lumisong {

void initialiseCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace Lumisong
