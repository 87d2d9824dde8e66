#include <varnek/label_placement/internal/KeyTable.h>

#include <algorithm>
#include <utility>

#include <varnek/label_placement/internal/Assert.h>
#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace internal {

void KeyTable::reset(std::size_t count) {
    // At most half full, so that a probe ends after a few slots.
    std::size_t capacity = 16;
    unsigned int bits = 4;
    while (capacity < 2 * count) {
        capacity *= 2;
        ++bits;
    }
    m_keys.resize(capacity);
    m_values.resize(capacity);
    std::fill(m_values.begin(), m_values.end(), s_absent);
    m_mask = capacity - 1;
    m_shift = 64 - bits;
    m_size = 0;
}

std::size_t KeyTable::slotOf(std::uint64_t key) const {
    // Fibonacci hashing: the high bits of the product mix every bit of the key.
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> m_shift);
}

std::uint32_t KeyTable::find(std::uint64_t key) const {
    if (m_values.empty()) {
        return s_absent;
    }
    for (std::size_t slot = slotOf(key);; slot = (slot + 1) & m_mask) {
        if (m_values[slot] == s_absent) {
            return s_absent;
        }
        if (m_keys[slot] == key) {
            return m_values[slot];
        }
    }
}

std::uint32_t KeyTable::insert(std::uint64_t key, std::uint32_t value) {
    // At most the count reset made room for: the table stays half empty, and
    // a probe always ends at an empty slot.
    VARNEK_ASSERT(2 * (m_size + 1) <= m_values.size());
    for (std::size_t slot = slotOf(key);; slot = (slot + 1) & m_mask) {
        if (m_values[slot] == s_absent) {
            m_keys[slot] = key;
            m_values[slot] = value;
            ++m_size;
            return value;
        }
        if (m_keys[slot] == key) {
            return m_values[slot];
        }
    }
}

void KeyTable::prefetch(std::uint64_t key) const {
    const std::size_t slot = slotOf(key);
    prefetchForRead(m_values.data() + slot);
    prefetchForRead(m_keys.data() + slot);
}

void KeyTable::clear() noexcept {
    std::fill(m_values.begin(), m_values.end(), s_absent);
    m_size = 0;
}

void KeyTable::swap(KeyTable& other) noexcept {
    m_keys.swap(other.m_keys);
    m_values.swap(other.m_values);
    std::swap(m_mask, other.m_mask);
    std::swap(m_shift, other.m_shift);
    std::swap(m_size, other.m_size);
}

}  // namespace internal
}  // namespace Varnek
