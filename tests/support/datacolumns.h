#pragma once

#include <QTest>

#include <cstddef>

namespace Lumisong::Test {

// The columns of a data-driven test in one line: the types as template
// arguments, the names in the same order.
template <typename... T, std::size_t N>
void addColumns(const char *const (&names)[N])
{
    static_assert(N == sizeof...(T), "one name for each column type");
    std::size_t i = 0;
    (QTest::addColumn<T>(names[i++]), ...);
}

} // namespace Lumisong::Test
