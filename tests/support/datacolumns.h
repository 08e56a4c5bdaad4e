#pragma once

#include <QTest>

#include <cstddef>

namespace Lumisong::Test {

// The columns of a data-driven test in one line: the types as template
// arguments, the names in the same order.
template <typename... T>
void addColumns(const char *const (&names)[sizeof...(T)])
{
    std::size_t i = 0;
    (QTest::addColumn<T>(names[i++]), ...);
}

} // namespace Lumisong::Test
