// The three record kinds of a document file, in both directions. Word: unsigned 16-bit little-endian.
// Text: a length prefix (one byte below 255; else 0xFF and a 16-bit length below 0xFFFE; else 0xFF,
// 0xFFFF and a 32-bit length), then the characters, one byte each: the ISO 8859-1 (Latin-1) code of
// the character, as the state's texts hold them. Number: a Text holding the value printed with
// "%20.7e" (three-digit exponent, so always 20 characters) and read back with the atof rules.
//
// Writer and reader offer the same operations, so that the one description of the record order in
// DocumentRecords.h drives both. Both throw ArchiveError, which names the field at fault; the reader
// never stores past a list or allocates for data that the file does not hold.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

struct ArchiveError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Longest Number text a reader accepts; longer ones make the file invalid.
inline constexpr std::size_t kMaxNumberTextLength = 83;

// The state's texts are Latin-1 bytes, one per character; front ends that speak UTF-8 (the command line,
// JSON) convert at their boundary.
[[nodiscard]] std::string latin1ToUtf8(std::string_view latin1);
// The Latin-1 bytes of a UTF-8 text, or nothing when it is not UTF-8 or holds a character beyond U+00FF.
[[nodiscard]] std::optional<std::string> utf8ToLatin1(std::string_view utf8);

class ArchiveWriter {
public:
    void word(std::string_view field, const int& value);
    // Integer counts that the state keeps in a float array (the spare range blocks).
    void word(std::string_view field, const float& value);
    void number(std::string_view field, const float& value);
    void number(std::string_view field, const double& value);
    void text(std::string_view field, const std::string& value);

    // A count must fit its fixed-capacity list, in the file and in memory.
    static void checkCapacity(std::string_view field, int count, int capacity);
    // The writer works on its own copy of the state, whose arrays it sizes to their counts.
    template <class Vector>
    void resize(Vector& v, int size) {
        v.resize(static_cast<std::size_t>(size));
    }
    void expectNumbers(std::string_view, long long) {}

    [[nodiscard]] const std::string& bytes() const { return bytes_; }

private:
    void rawWord(std::uint16_t value);
    std::string bytes_;
};

class ArchiveReader {
public:
    // Sees every Word as soon as it is read, so that a value the reader's user cannot take (a table
    // size no dialog admits) is refused before the records it governs are read; throws ArchiveError.
    using WordCheck = void (*)(std::string_view field, int value);

    explicit ArchiveReader(std::string_view bytes, WordCheck check = nullptr)
        : bytes_(bytes), check_(check) {}
    // The reader only views the bytes; they must outlive it.
    explicit ArchiveReader(std::string&&, WordCheck = nullptr) = delete;

    void word(std::string_view field, int& value);
    void word(std::string_view field, float& value);
    void number(std::string_view field, float& value);
    void number(std::string_view field, double& value);
    void text(std::string_view field, std::string& value);

    static void checkCapacity(std::string_view field, int count, int capacity) {
        ArchiveWriter::checkCapacity(field, count, capacity);
    }
    template <class Vector>
    void resize(Vector& v, int size) {
        v.assign(static_cast<std::size_t>(size), 0);
    }
    // Refuses a count of Numbers still to come that the rest of the file cannot hold (each Number
    // takes at least its length byte), before anything is read or stored for them.
    void expectNumbers(std::string_view field, long long count);

    [[nodiscard]] std::size_t remaining() const { return bytes_.size() - position_; }

private:
    std::string_view take(std::string_view field, std::size_t count);
    std::uint16_t rawWord(std::string_view field);
    std::size_t textLength(std::string_view field);
    double numberValue(std::string_view field);

    std::string_view bytes_;
    WordCheck check_;
    std::size_t position_ = 0;
};

}  // namespace tolvex
