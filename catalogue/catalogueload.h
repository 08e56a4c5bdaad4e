#pragma once

#include <QObject>

#include "catalogue/catalogue.h"

namespace Lumisong {

class PageRequest;

// Loads the new-songs page into the catalogue without waiting: start() asks
// for the page, and once it has come (or not) the catalogue takes it and
// finished() follows from the event loop. Until then the catalogue is
// untouched. The catalogue must outlive the load.
class CatalogueLoad final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CatalogueLoad)

public:
    explicit CatalogueLoad(Catalogue &catalogue, QObject *parent = nullptr);
    ~CatalogueLoad() override; // a load under way ends without a signal

    // Once.
    void start();
    // Ends a load under way without a signal, the catalogue untouched; safe
    // at any time, also from a handler of finished().
    void abort();

signals:
    void finished(const Lumisong::Catalogue::LoadResult &result);

private:
    Catalogue &m_catalogue;
    PageRequest *m_page = nullptr;
};

} // namespace Lumisong
