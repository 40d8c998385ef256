#pragma once
// Table rows print as their names when a row fails.
#include <ostream>

namespace {

// The rows are each test file's own, in its unnamed namespace, which is where GoogleTest looks
// for this; a file (or a unit of files compiled together) reads it once.
template <typename Row>
requires requires(const Row& r) {
    r.name;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

} // namespace
