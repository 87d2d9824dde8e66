// Open-addressing table from a label's key to a small index, rebuilt every
// frame without allocating once it has grown to the frame's size. Private to
// the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_KEYTABLE_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_KEYTABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/internal/FrameAllocator.h>

namespace Varnek {
namespace internal {

class KeyTable {
public:
    static constexpr std::uint32_t s_absent = 0xFFFFFFFFu;

    KeyTable() = default;
    // Its arrays from the arena.
    explicit KeyTable(FrameArena* arena)
        : m_keys(FrameAllocator<std::uint64_t>(arena)),
          m_values(FrameAllocator<std::uint32_t>(arena)) {}

    // Empties the table and makes room for count keys. The lookups never
    // depend on the order of insertion beyond which value a key keeps.
    void reset(std::size_t count);
    // The value stored for key, or s_absent.
    std::uint32_t find(std::uint64_t key) const;
    // Stores value for key unless the key is there already; returns the value
    // the key has afterwards.
    std::uint32_t insert(std::uint64_t key, std::uint32_t value);
    // Asks for the slot where key would be, ahead of an insert or find.
    void prefetch(std::uint64_t key) const;
    // Forgets every key without allocating.
    void clear() noexcept;
    // Whether no key is stored.
    bool isEmpty() const { return m_size == 0; }
    void swap(KeyTable& other) noexcept;

private:
    std::size_t slotOf(std::uint64_t key) const;

    FrameVector<std::uint64_t> m_keys;
    FrameVector<std::uint32_t> m_values;
    std::size_t m_mask = 0;
    unsigned int m_shift = 64;
    std::size_t m_size = 0;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_KEYTABLE_H
