#include "loadnow.h"

#include <QSignalSpy>

#include "catalogue/catalogueload.h"

namespace Lumisong::Test {

Catalogue::LoadResult loadNow(Catalogue &catalogue)
{
    CatalogueLoad load(catalogue);
    Catalogue::LoadResult result;
    QObject::connect(&load, &CatalogueLoad::finished, &load,
                     [&result](const Catalogue::LoadResult &loaded) { result = loaded; });
    QSignalSpy ended(&load, &CatalogueLoad::finished);
    load.start();
    ended.wait(20000);
    return result;
}

} // namespace Lumisong::Test
