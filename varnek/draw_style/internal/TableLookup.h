// Lookups in the constant tables of the draw-style types. A table has one row
// per enumerator, in value order; a value outside it, negative or past the
// end, gets the type's own out-of-range answer. Private to the library's
// sources; not installed.
#ifndef VARNEK_DRAW_STYLE_INTERNAL_TABLELOOKUP_H
#define VARNEK_DRAW_STYLE_INTERNAL_TABLELOOKUP_H

#include <cstddef>
#include <iterator>
#include <type_traits>

namespace Varnek {
namespace internal {

// The value as a row index. The unsigned conversion turns every negative value
// into a huge index, so a single comparison with the size rejects both ends.
template <typename Value>
constexpr std::size_t rowIndex(Value value) {
    return static_cast<std::size_t>(static_cast<unsigned int>(value));
}

// Whether value lies in 0 to count - 1.
template <typename Value>
constexpr bool isIndexBelow(Value value, std::size_t count) {
    return rowIndex(value) < count;
}

// The row of value; a null pointer when the table has none.
template <typename Table, typename Value>
constexpr auto findRow(Table& table, Value value) -> decltype(&table[0]) {
    return isIndexBelow(value, std::size(table)) ? &table[rowIndex(value)] : nullptr;
}

// The entry of value, or outOfRange when the table has none.
template <typename Table, typename Value, typename OutOfRange>
constexpr auto lookup(Table& table, Value value, OutOfRange outOfRange)
    -> std::decay_t<decltype(table[0])> {
    using Entry = std::decay_t<decltype(table[0])>;
    const auto row = findRow(table, value);
    return row != nullptr ? static_cast<Entry>(*row) : static_cast<Entry>(outOfRange);
}

// One field of the row of value, or outOfRange when the table has none.
template <typename Table, typename Value, typename Row, typename Field, typename OutOfRange>
constexpr Field lookup(Table& table, Value value, Field Row::*field, OutOfRange outOfRange) {
    const Row* row = findRow(table, value);
    return row != nullptr ? row->*field : static_cast<Field>(outOfRange);
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_INTERNAL_TABLELOOKUP_H
