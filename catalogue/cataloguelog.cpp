#include "catalogue/cataloguelog.h"

namespace Lumisong {
Q_LOGGING_CATEGORY(lcCatalogue, "lumisong.catalogue")
}
