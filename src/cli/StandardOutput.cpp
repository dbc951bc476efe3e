#include "cli/StandardOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tolvex::cli {

bool DescriptorOutputBuffer::drain() {
    const char* next = pbase();
    while (error_ == 0 && next < pptr()) {
        const ssize_t n = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) error_ = n < 0 ? errno : EIO;
        if (n > 0) next += n;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

DescriptorOutputBuffer::int_type DescriptorOutputBuffer::overflow(int_type c) {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

int DescriptorOutputBuffer::sync() {
    return drain() ? 0 : -1;
}

std::optional<std::string> outputFailure(std::ostream& out) {
    out.flush();
    if (out) return std::nullopt;
    const auto* descriptor = dynamic_cast<const DescriptorOutputBuffer*>(out.rdbuf());
    if (descriptor != nullptr && descriptor->error() != 0) return std::strerror(descriptor->error());
    return "input/output error";
}

}  // namespace tolvex::cli
