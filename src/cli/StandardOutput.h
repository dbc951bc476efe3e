// Standard output that cannot fail in silence: `fit --json > result.json` on a full disk must end with
// the reason and exit status 1, not with exit 0 and an empty file.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

namespace tolvex::cli {

// A stream buffer over a file descriptor that remembers why a write failed (errno), which the stdio
// streams forget by the time the program looks.
class DescriptorOutputBuffer final : public std::streambuf {
public:
    explicit DescriptorOutputBuffer(int fd) : fd_(fd) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    DescriptorOutputBuffer(const DescriptorOutputBuffer&) = delete;
    DescriptorOutputBuffer& operator=(const DescriptorOutputBuffer&) = delete;
    ~DescriptorOutputBuffer() override { sync(); }

    // The errno of the first failed write, or 0.
    [[nodiscard]] int error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool drain();

    int fd_;
    int error_ = 0;
    std::array<char, 8192> buffer_{};
};

// Flushes `out`; when anything written to it did not get out, says why ("No space left on device" when
// the stream is a DescriptorOutputBuffer that knows, "input/output error" otherwise).
[[nodiscard]] std::optional<std::string> outputFailure(std::ostream& out);

}  // namespace tolvex::cli
