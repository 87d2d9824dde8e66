#include <varnek/draw_style/DrawTextAlignmentPoint.h>

#include <iterator>

namespace Varnek {
namespace {

// Writable arrays, so that the non-const pointer handed out does not point
// into a string literal; nothing ever writes them.
char s_hoopsNotations[][3] = {"<*", "<^", "<v", ">*", ">^", ">v", "*", "*^", "*v"};

}  // namespace

char* DrawTextAlignmentPoint::getHoopsNotation(DrawTextAlignmentPoint value) {
    const auto index = static_cast<unsigned int>(value.m_value);
    return index < std::size(s_hoopsNotations) ? s_hoopsNotations[index] : nullptr;
}

}  // namespace Varnek
