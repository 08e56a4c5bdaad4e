#pragma once

#include <QString>

#include <cstdio>

#include "catalogue/catalogue.h"
#include "catalogue/catalogueload.h"
#include "cli/headlesscommand.h"

namespace Lumisong {

// --list [--json]: the site's songs on `out` as SongListing writes them. A
// page without a whole song array: the missing-catalogue text on `err` and
// PageMissingExitCode. A page with more songs than the list holds is listed
// as far as the list goes, with a note on `err`.
class HeadlessList final : public HeadlessCommand
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeadlessList)

public:
    static constexpr int PageMissingExitCode = 2;

    HeadlessList(const QString &siteBase, bool json, std::FILE *out, std::FILE *err,
                 QObject *parent = nullptr);
    ~HeadlessList() override;

    void start() override;

private:
    void onLoaded(const Catalogue::LoadResult &result);

    Catalogue m_catalogue;
    CatalogueLoad m_load;
    bool m_json;
    std::FILE *m_out;
    std::FILE *m_err;
};

} // namespace Lumisong
