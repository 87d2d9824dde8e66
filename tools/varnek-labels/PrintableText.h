// Bytes from the user (file names, arguments, fields of the input) as the
// tool shows them: decoded as UTF-8, and made safe for one line of a
// terminal in its messages.
#ifndef VARNEK_LABELS_PRINTABLETEXT_H
#define VARNEK_LABELS_PRINTABLETEXT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace VarnekLabels {

struct Utf8Character {
    std::size_t length = 0;  // 0: no well-formed character starts there
    unsigned int code = 0;
};

// The character whose well-formed UTF-8 sequence starts at text[at]; length
// 0 for a stray or truncated byte, an overlong form, a surrogate or a value
// past U+10FFFF. at < text.size().
Utf8Character decodeUtf8(std::string_view text, std::size_t at);

// text with every control character (C0, DEL and the C1 controls
// U+0080..U+009F) and every byte outside well-formed UTF-8 written as \xNN,
// byte by byte; the rest unchanged. A NUL, a line break or an escape
// sequence from the user then neither cuts a message short, nor breaks it
// over lines, nor reaches the terminal.
std::string printable(std::string_view text);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_PRINTABLETEXT_H
