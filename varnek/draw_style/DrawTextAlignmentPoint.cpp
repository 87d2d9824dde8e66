#include <varnek/draw_style/DrawTextAlignmentPoint.h>

#include <varnek/draw_style/internal/TableLookup.h>

namespace Varnek {
namespace {

// Writable arrays, so that the non-const pointer handed out does not point
// into a string literal; nothing ever writes them.
char s_hoopsNotations[][3] = {"<*", "<^", "<v", ">*", ">^", ">v", "*", "*^", "*v"};

}  // namespace

char* DrawTextAlignmentPoint::getHoopsNotation(DrawTextAlignmentPoint value) noexcept {
    return internal::lookup(s_hoopsNotations, value.m_value, nullptr);
}

}  // namespace Varnek
