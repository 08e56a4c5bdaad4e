#include "cli/catalogueload.h"

#include <QTimer>

namespace Lumisong {

CatalogueLoad::CatalogueLoad(Catalogue &catalogue, QObject *parent)
    : QObject(parent), m_catalogue(catalogue)
{
}

CatalogueLoad::~CatalogueLoad() = default;

void CatalogueLoad::start()
{
    // The catalogue can only be filled by its own load, which still waits for
    // the page itself; this is the one place of the headless commands that
    // does, so that a catalogue that loads by a request object changes only it.
    QTimer::singleShot(0, this, [this] { emit finished(m_catalogue.loadCatalogue()); });
}

} // namespace Lumisong
