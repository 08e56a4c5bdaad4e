#pragma once

class QObject;

namespace Lumisong::Test {

// How many requests under `owner` (its children at any depth) are still
// under way, once the deletions the event loop owes have been made. Zero
// after a close or a stop means that no answer can reach the program any more,
// so nothing can happen later: a check that needs no waiting.
int requestsUnderWay(const QObject *owner);

} // namespace Lumisong::Test
