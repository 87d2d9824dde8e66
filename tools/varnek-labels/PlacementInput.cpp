#include "PlacementInput.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

#include "InputError.h"
#include "UsageError.h"

namespace VarnekLabels {
namespace {

constexpr const char* s_lineForm = "x,y,width,height[,priority[,key[,text]]]";
constexpr std::size_t s_textField = 6;
constexpr std::array<const char*, s_textField> s_fieldNames{"x",      "y",        "width",
                                                            "height", "priority", "key"};
constexpr std::size_t s_chunkSize = std::size_t{64} * 1024;
constexpr std::string_view s_byteOrderMark = "\xEF\xBB\xBF";
constexpr int s_end = -1;

bool isBlank(int c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string cannotRead(const std::string& source, const std::string& reason) {
    return "--input: cannot read '" + source + "': " + reason;
}

// The input's bytes one at a time, read a chunk at a time.
class ByteReader {
public:
    ByteReader(std::istream& in, const std::string& source)
        : m_in(in), m_source(source), m_buffer(s_chunkSize) {
        refill();
        const std::string_view start(m_buffer.data(), m_end);
        if (start.substr(0, s_byteOrderMark.size()) == s_byteOrderMark) {
            m_at = s_byteOrderMark.size();
        }
    }

    // The next byte, or s_end after the last.
    int next() {
        if (m_at == m_end && !refill()) {
            return s_end;
        }
        return static_cast<unsigned char>(m_buffer[m_at++]);
    }

    int peek() {
        if (m_at == m_end && !refill()) {
            return s_end;
        }
        return static_cast<unsigned char>(m_buffer[m_at]);
    }

private:
    // False at the end of the input; throws InputError if a read failed.
    bool refill() {
        if (m_finished) {
            return false;
        }
        errno = 0;
        m_in.read(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        const int reason = errno;
        if (m_in.bad()) {
            throw InputError(cannotRead(
                m_source, reason != 0 ? std::strerror(reason) : "the read failed part-way"));
        }
        m_finished = !m_in;
        m_at = 0;
        m_end = static_cast<std::size_t>(m_in.gcount());
        return m_end > 0;
    }

    std::istream& m_in;
    const std::string& m_source;
    std::vector<char> m_buffer;
    std::size_t m_at = 0;
    std::size_t m_end = 0;
    bool m_finished = false;
};

// One record's fields, the storage kept from record to record.
struct Record {
    std::array<std::string, s_textField + 1> fields;
    std::size_t count = 0;
    std::size_t line = 0;  // where it starts, from 1
};

std::string where(const std::string& source, std::size_t line) {
    return source + ":" + std::to_string(line) + ": ";
}

// Splits the input into records as PlacementInput.h describes.
class RecordReader {
public:
    RecordReader(std::istream& in, const std::string& source)
        : m_bytes(in, source), m_source(source) {}

    // The next record that is not skipped; false at the end of the input.
    bool next(Record& record) {
        while (true) {
            std::string& first = record.fields[0];
            first.clear();
            record.line = m_line;
            int c = m_bytes.next();
            while (isBlank(c)) {
                first.push_back(static_cast<char>(c));
                c = m_bytes.next();
            }
            if (c == s_end) {
                return false;
            }
            if (c == '#') {
                while (c != '\n' && c != s_end) {
                    c = m_bytes.next();
                }
                ++m_line;
                continue;
            }
            if (endsRecord(c)) {
                continue;
            }
            readFields(record, c);
            return true;
        }
    }

private:
    // Whether c ends the record (consuming the LF of a CR LF).
    bool endsRecord(int c) {
        if (c == '\r' && (m_bytes.peek() == '\n' || m_bytes.peek() == s_end)) {
            c = m_bytes.next();
        }
        if (c == '\n') {
            ++m_line;
            return true;
        }
        return c == s_end;
    }

    void readFields(Record& record, int c) {
        std::size_t index = 0;
        std::string* field = &record.fields[0];
        std::size_t fieldStart = 0;  // the text field holds several
        bool quoted = false;
        bool closed = false;
        for (;; c = m_bytes.next()) {
            if (quoted) {
                if (c == s_end) {
                    throw UsageError(where(m_source, record.line) +
                                     "a quoted field is not closed; a line is " + s_lineForm);
                }
                if (c == '"' && m_bytes.peek() == '"') {
                    m_bytes.next();
                } else if (c == '"') {
                    quoted = false;
                    closed = true;
                    continue;
                }
                m_line += c == '\n' ? 1 : 0;
                field->push_back(static_cast<char>(c));
                continue;
            }
            if (endsRecord(c)) {
                break;
            }
            if (c == ',') {
                closed = false;
                if (index == s_textField) {
                    field->push_back(',');
                    fieldStart = field->size();
                } else {
                    field = &record.fields[++index];
                    field->clear();
                }
                continue;
            }
            if (closed && !isBlank(c)) {
                throw UsageError(where(m_source, record.line) +
                                 "a quoted field is followed by more than blanks; a line is " +
                                 s_lineForm);
            }
            if (c == '"' && !closed &&
                field->find_first_not_of(" \t", fieldStart) == std::string::npos) {
                field->resize(fieldStart);
                quoted = true;
                continue;
            }
            if (!closed) {
                field->push_back(static_cast<char>(c));
            }
        }
        record.count = index + 1;
    }

    ByteReader m_bytes;
    const std::string& m_source;
    std::size_t m_line = 1;
};

// A number, NaN and infinities included. One too large for a float reads
// as infinite, so the label is out of the placer's contract rather than
// moved; one too small reads as the nearest float, zero.
std::optional<float> readNumber(std::string_view text) {
    text = trimmed(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    float value = 0.0f;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ptr != end) {
        return std::nullopt;
    }
    if (result.ec == std::errc::result_out_of_range) {
        double wide = 0.0;
        const bool large = std::from_chars(text.data(), end, wide).ec == std::errc()
                               ? std::abs(wide) > 1.0
                               : text.find("e-") == std::string_view::npos &&
                                     text.find("E-") == std::string_view::npos;
        const float magnitude = large ? std::numeric_limits<float>::infinity() : 0.0f;
        return text[0] == '-' ? -magnitude : magnitude;
    }
    return value;
}

class LabelReader {
public:
    LabelReader(const std::string& source, const Record& record, bool sizeMayBeEmpty)
        : m_where(where(source, record.line)), m_record(record), m_sizeMayBeEmpty(sizeMayBeEmpty) {}

    // The record as a label; the fields are read from left to right, so the
    // first bad one is named.
    InputLabel label(std::uint64_t index) const {
        if (m_record.count < 4) {
            throw UsageError(m_where + std::to_string(m_record.count) +
                             (m_record.count == 1 ? " field" : " fields") +
                             ", at least 4 needed; a line is " + s_lineForm);
        }
        InputLabel label;
        const float x = number(0);
        const float y = number(1);
        label.widthGiven = !m_sizeMayBeEmpty || given(2);
        const float width = label.widthGiven ? number(2) : 0.0f;
        label.heightGiven = !m_sizeMayBeEmpty || given(3);
        const float height = label.heightGiven ? number(3) : 0.0f;
        label.anchor = Vec3(x, y, 0.0f);
        label.size = Vec3(width, height, 0.0f);
        label.key = index;
        label.line = m_record.line;
        if (given(4)) {
            label.priority = number(4);
        }
        if (given(5)) {
            label.key = key();
        }
        if (m_record.count > s_textField) {
            label.text = m_record.fields[s_textField];
        }
        return label;
    }

    // Whether the record names columns rather than giving numbers.
    bool looksLikeHeader() const {
        if (m_record.count < 4) {
            return false;
        }
        for (std::size_t field = 0; field < 4; ++field) {
            if (readNumber(m_record.fields[field])) {
                return false;
            }
        }
        return true;
    }

private:
    bool given(std::size_t field) const {
        return m_record.count > field && !trimmed(m_record.fields[field]).empty();
    }

    float number(std::size_t field) const {
        const auto value = readNumber(m_record.fields[field]);
        if (!value) {
            throw notA(field, "a number");
        }
        return *value;
    }

    std::uint64_t key() const {
        const std::string_view text = trimmed(m_record.fields[5]);
        std::uint64_t value = 0;
        const char* end = text.data() + text.size();
        const auto result = std::from_chars(text.data(), end, value);
        if (result.ec != std::errc() || result.ptr != end) {
            throw notA(5, "a whole number from 0 to 18446744073709551615");
        }
        return value;
    }

    UsageError notA(std::size_t field, const char* what) const {
        return UsageError(m_where + s_fieldNames[field] + " '" +
                          std::string(trimmed(m_record.fields[field])) + "' is not " + what +
                          "; a line is " + s_lineForm);
    }

    std::string m_where;
    const Record& m_record;
    bool m_sizeMayBeEmpty;
};

std::vector<InputLabel> readLabels(std::istream& in, const std::string& source, bool header,
                                   bool sizeMayBeEmpty) {
    RecordReader records(in, source);
    Record record;
    std::vector<InputLabel> labels;
    if (!records.next(record)) {
        return labels;
    }
    // The first record: a header to skip, or a label, or (when it looks like
    // a header) whichever the next record says.
    std::optional<UsageError> notAHeader;
    if (!header) {
        const LabelReader reader(source, record, sizeMayBeEmpty);
        try {
            labels.push_back(reader.label(0));
        } catch (const UsageError& error) {
            if (!reader.looksLikeHeader()) {
                throw;
            }
            notAHeader = error;
        }
    }
    while (true) {
        try {
            if (!records.next(record)) {
                break;
            }
            labels.push_back(LabelReader(source, record, sizeMayBeEmpty).label(labels.size()));
        } catch (const UsageError& error) {
            if (notAHeader) {
                // The first line is named, but a user whose first line is a
                // header needs the line at fault too.
                std::string following = error.what();
                following = following.substr(0, following.find("; a line is "));
                throw UsageError(std::string(notAHeader->what()) +
                                 "; read as a header, it is followed by " + following);
            }
            throw;
        }
        notAHeader.reset();
    }
    if (notAHeader) {
        throw *notAHeader;
    }
    return labels;
}

}  // namespace

std::vector<InputLabel> readPlacementInput(std::istream& in, const std::string& source, bool header,
                                           bool sizeMayBeEmpty) {
    try {
        return readLabels(in, source, header, sizeMayBeEmpty);
    } catch (const std::bad_alloc&) {
        throw InputError(cannotRead(source, "out of memory"));
    }
}

}  // namespace VarnekLabels
