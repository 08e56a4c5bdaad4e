#pragma once

#include <QObject>

#include "catalogue/catalogue.h"

namespace Lumisong {

// The loading of a headless command's catalogue from its site, as a request
// that ends with finished() from the event loop, never inside start(). The
// catalogue must outlive it.
class CatalogueLoad final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CatalogueLoad)

public:
    explicit CatalogueLoad(Catalogue &catalogue, QObject *parent = nullptr);
    ~CatalogueLoad() override;

    // Once.
    void start();

signals:
    void finished(const Lumisong::Catalogue::LoadResult &result);

private:
    Catalogue &m_catalogue;
};

} // namespace Lumisong
