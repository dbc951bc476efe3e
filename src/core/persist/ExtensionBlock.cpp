#include "core/persist/ExtensionBlock.h"

#include <cstdint>

#include "core/persist/Crc32.h"

namespace tolvex {
namespace {

constexpr std::size_t kTagBytes = 4;
constexpr std::size_t kHeaderBytes = kTagBytes + 2 + 4;
constexpr std::size_t kChecksumBytes = 4;

void appendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

std::string extensionBlock(std::string_view records, std::string_view payload) {
    std::string block(kExtensionTag, kTagBytes);
    appendLittleEndian(block, kExtensionVersion, 2);
    appendLittleEndian(block, static_cast<std::uint32_t>(payload.size()), 4);
    block.append(payload);
    std::string whole(records);
    whole += block;
    appendLittleEndian(block, crc32(whole), 4);
    return block;
}

ExtensionRead readExtensionBlock(std::string_view file, std::size_t start) {
    const std::size_t available = file.size() - start;
    if (available < kHeaderBytes + kChecksumBytes || file.substr(start, kTagBytes) != kExtensionTag) {
        return {std::nullopt, std::to_string(available) + " bytes follow the last record"};
    }
    const std::uint32_t version = littleEndian(file, start + kTagBytes, 2);
    if (version > static_cast<std::uint32_t>(kExtensionVersion)) {
        return {std::nullopt, "its extension block has version " + std::to_string(version) +
                                  ", written by a newer Tolvex than this one (" +
                                  std::to_string(kExtensionVersion) + ")"};
    }
    const std::uint32_t length = littleEndian(file, start + kTagBytes + 2, 4);
    if (length != available - kHeaderBytes - kChecksumBytes) {
        return {std::nullopt, "the file is damaged: its extension block is " + std::to_string(available) +
                                  " bytes long but announces a payload of " + std::to_string(length)};
    }
    const std::size_t end = file.size() - kChecksumBytes;
    if (crc32(file.substr(0, end)) != littleEndian(file, end, 4)) {
        return {std::nullopt, "the file is damaged: its checksum does not match its contents"};
    }
    return {std::string(file.substr(start + kHeaderBytes, length)), {}};
}

}  // namespace tolvex
