#pragma once

#include "catalogue/catalogue.h"

namespace Lumisong::Test {

// Loads the catalogue's page and waits for the end of the load (at most 20 s);
// a load that has not ended by then counts as a page missing.
Catalogue::LoadResult loadNow(Catalogue &catalogue);

} // namespace Lumisong::Test
