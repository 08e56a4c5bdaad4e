#pragma once

#include <QString>

// The texts of the status line, in the order they can appear.
namespace Lumisong::StatusText {

QString ready();             // the form's design text
QString checkingForUpdate(); // load event
QString fetchingCatalogue(); // the check is done, nothing to announce
// The update dialog was answered "否(&N)"; the catalogue follows.
QString fetchingCatalogueAfterUpdate();
// The catalogue arrived with `count` songs; `truncated` when the page held
// more songs than the table has room for (only the first ones were loaded).
QString catalogueLoaded(int count, bool truncated = false);
QString catalogueMissing();  // the page did not arrive
QString listAddressFailed(); // a list-file run stopped: an address could not be resolved
QString listWriteFailed();   // a list-file run stopped: the file could not be written
QString listStopped();       // the user stopped a list-file run

} // namespace Lumisong::StatusText
