#include "core/persist/Archive.h"

#include <cmath>

#include "core/input/LeadingNumber.h"
#include "core/io/NumberFormat.h"

namespace tolvex {
namespace {

constexpr int kWordMax = 0xFFFF;
constexpr std::size_t kShortTextLimit = 0xFF;     // a length byte of 0xFF announces a longer prefix
constexpr std::size_t kMediumTextLimit = 0xFFFE;  // 0xFFFE after 0xFF is never written
constexpr std::uint16_t kLongTextMark = 0xFFFF;

std::string fieldText(std::string_view field) {
    return std::string(field);
}

}  // namespace

std::string latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char c : latin1) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}

std::optional<std::string> utf8ToLatin1(std::string_view utf8) {
    std::string latin1;
    latin1.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            latin1 += static_cast<char>(lead);
            continue;
        }
        // U+0080..U+00FF are the two-byte sequences C2 80 .. C3 BF; anything else is beyond Latin-1.
        if ((lead != 0xC2 && lead != 0xC3) || i + 1 >= utf8.size()) return std::nullopt;
        const auto next = static_cast<unsigned char>(utf8[i + 1]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        latin1 += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
        ++i;
    }
    return latin1;
}

void ArchiveWriter::rawWord(std::uint16_t value) {
    bytes_ += static_cast<char>(value & 0xFF);
    bytes_ += static_cast<char>(value >> 8);
}

void ArchiveWriter::word(std::string_view field, const int& value) {
    // A value outside 0..65535 would come back as another number, and a count would misplace every
    // record after it.
    if (value < 0 || value > kWordMax) {
        throw ArchiveError(fieldText(field) + " = " + std::to_string(value) +
                           " does not fit the file format (0 to 65535)");
    }
    rawWord(static_cast<std::uint16_t>(value));
}

void ArchiveWriter::word(std::string_view field, const float& value) {
    if (!(value >= 0.0f && value <= static_cast<float>(kWordMax))) {
        throw ArchiveError(fieldText(field) + " does not fit the file format (0 to 65535)");
    }
    word(field, static_cast<int>(value));
}

void ArchiveWriter::number(std::string_view field, const float& value) {
    number(field, static_cast<double>(value));
}

void ArchiveWriter::number(std::string_view field, const double& value) {
    text(field, formatE(value, 20, 7));
}

void ArchiveWriter::text(std::string_view field, const std::string& value) {
    const std::size_t length = value.size();
    if (length < kShortTextLimit) {
        bytes_ += static_cast<char>(length);
    } else if (length < kMediumTextLimit) {
        bytes_ += static_cast<char>(0xFF);
        rawWord(static_cast<std::uint16_t>(length));
    } else if (length <= 0xFFFFFFFFu) {
        bytes_ += static_cast<char>(0xFF);
        rawWord(kLongTextMark);
        for (int shift = 0; shift < 32; shift += 8) bytes_ += static_cast<char>((length >> shift) & 0xFF);
    } else {
        throw ArchiveError(fieldText(field) + " is too long for the file format");
    }
    bytes_ += value;
}

void ArchiveWriter::checkCapacity(std::string_view field, int count, int capacity) {
    if (count > capacity) {
        throw ArchiveError(fieldText(field) + " = " + std::to_string(count) + " is above its capacity of " +
                           std::to_string(capacity));
    }
}

std::string_view ArchiveReader::take(std::string_view field, std::size_t count) {
    if (count > remaining()) throw ArchiveError("the file ends early, in " + fieldText(field));
    const std::string_view part = bytes_.substr(position_, count);
    position_ += count;
    return part;
}

std::uint16_t ArchiveReader::rawWord(std::string_view field) {
    const std::string_view b = take(field, 2);
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[0]) |
                                      (static_cast<unsigned char>(b[1]) << 8));
}

void ArchiveReader::word(std::string_view field, int& value) {
    const int read = rawWord(field);
    if (check_ != nullptr) check_(field, read);
    value = read;
}

void ArchiveReader::word(std::string_view field, float& value) {
    value = static_cast<float>(rawWord(field));
}

std::size_t ArchiveReader::textLength(std::string_view field) {
    const auto first = static_cast<unsigned char>(take(field, 1)[0]);
    if (first < kShortTextLimit) return first;
    const std::uint16_t medium = rawWord(field);
    if (medium < kMediumTextLimit) return medium;
    if (medium != kLongTextMark) throw ArchiveError("the text length of " + fieldText(field) + " is invalid");
    const std::string_view b = take(field, 4);
    std::size_t length = 0;
    for (int i = 3; i >= 0; --i)
        length = (length << 8) | static_cast<unsigned char>(b[static_cast<std::size_t>(i)]);
    return length;
}

void ArchiveReader::text(std::string_view field, std::string& value) {
    const std::size_t length = textLength(field);
    value = std::string(take(field, length));  // take() refuses a length beyond the file first
}

double ArchiveReader::numberValue(std::string_view field) {
    const std::size_t length = textLength(field);
    if (length > kMaxNumberTextLength) {
        throw ArchiveError("the number text of " + fieldText(field) + " is " + std::to_string(length) +
                           " characters long (at most " + std::to_string(kMaxNumberTextLength) + ")");
    }
    return leadingNumber(take(field, length));
}

void ArchiveReader::number(std::string_view field, float& value) {
    value = static_cast<float>(numberValue(field));
}

void ArchiveReader::number(std::string_view field, double& value) {
    value = numberValue(field);
}

void ArchiveReader::expectNumbers(std::string_view field, long long count) {
    if (count > static_cast<long long>(remaining())) {
        throw ArchiveError("the file ends early: " + fieldText(field) + " announces " +
                           std::to_string(count) + " values");
    }
}

}  // namespace tolvex
