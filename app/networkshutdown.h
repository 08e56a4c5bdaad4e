#pragma once

namespace Lumisong {

// Closes the kept-alive connections, ends the network access managers that
// live as children of the application object, and delivers the events their
// ending posts. Call it after the last fetch and before the application object
// ends: a manager that ends inside the application's destructor stops its
// worker thread when no event loop is left to take the thread's last deferred
// deletions, and those objects leak.
void shutDownNetwork();

} // namespace Lumisong
