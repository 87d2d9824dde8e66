// The flags behind the draw-type collections, one per kind of a draw-type
// enumeration, and the two shapes of option text the graphics system takes
// for them: every kind spelled out as on or off, or only the included kinds
// named. Private to the library's sources; not installed.
#ifndef VARNEK_DRAW_STYLE_INTERNAL_DRAWTYPEFLAGS_H
#define VARNEK_DRAW_STYLE_INTERNAL_DRAWTYPEFLAGS_H

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include <varnek/draw_style/internal/TableLookup.h>

namespace Varnek {
namespace internal {

// The flags of the listed kinds; a value outside 0 to N - 1 is ignored and a
// repeated kind changes nothing.
template <std::size_t N, typename Kind>
std::array<bool, N> flagsOfListedKinds(const std::vector<Kind>& kinds) {
    std::array<bool, N> flags{};
    for (const Kind kind : kinds) {
        if (isIndexBelow(kind, N)) {
            flags[rowIndex(kind)] = true;
        }
    }
    return flags;
}

// The flag of kind; false for a kind outside 0 to N - 1.
template <std::size_t N, typename Kind>
bool isFlagSet(const std::array<bool, N>& flags, Kind kind) {
    return isIndexBelow(kind, N) && flags[rowIndex(kind)];
}

inline const char* onOff(bool flag) {
    return flag ? "on" : "off";
}

// Every kind as "name=on" or "name=off", in value order, joined by ",". A
// nested kind has no entry of its own: its setting is written inside the
// entry of its host, as "host=(on,nested=off)". By default no kind nests.
template <std::size_t N, typename Kind>
std::string onOffSettings(const std::array<bool, N>& flags, const char* (*nameOf)(Kind),
                          std::size_t host = N, std::size_t nested = N) {
    // Allocated once: each entry is at most "name=off" and a separator, and a
    // nested kind adds its parentheses.
    std::size_t length = 2;
    for (std::size_t i = 0; i < N; ++i) {
        length += std::strlen(nameOf(static_cast<Kind>(i))) + 5;
    }
    std::string text;
    text.reserve(length);
    for (std::size_t i = 0; i < N; ++i) {
        if (i == nested) {
            continue;
        }
        if (!text.empty()) {
            text += ',';
        }
        text += nameOf(static_cast<Kind>(i));
        text += '=';
        if (i == host) {
            text += '(';
            text += onOff(flags[i]);
            text += ',';
            text += nameOf(static_cast<Kind>(nested));
            text += '=';
            text += onOff(flags[nested]);
            text += ')';
        } else {
            text += onOff(flags[i]);
        }
    }
    return text;
}

// The names of the kinds whose flag is set, in value order, joined by ",";
// empty when no flag is set.
template <std::size_t N, typename Kind>
std::string namesOfSetFlags(const std::array<bool, N>& flags, const char* (*nameOf)(Kind)) {
    // Allocated at most once, and not at all when the names fit the string's
    // own buffer.
    std::size_t length = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (flags[i]) {
            length += std::strlen(nameOf(static_cast<Kind>(i))) + 1;
        }
    }
    std::string text;
    text.reserve(length);
    for (std::size_t i = 0; i < N; ++i) {
        if (flags[i]) {
            if (!text.empty()) {
                text += ',';
            }
            text += nameOf(static_cast<Kind>(i));
        }
    }
    return text;
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_INTERNAL_DRAWTYPEFLAGS_H
