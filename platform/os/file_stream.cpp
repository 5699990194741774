#include "platform/os/file_stream.h"

#include <cstdint>
#include <span>

namespace platform::os {

file_streambuf::file_streambuf(file_handle file, std::size_t buffer_size)
    : file_(std::move(file)), buffer_(buffer_size == 0 ? 1 : buffer_size) {}

file_streambuf::~file_streambuf() {
    sync();
}

bool file_streambuf::fail(std::error_code error) {
    if (!error_)
        error_ = error;
    return false;
}

bool file_streambuf::write_out() {
    if (!pbase() || pptr() == pbase())
        return true;
    const auto bytes =
        std::as_bytes(std::span(pbase(), static_cast<std::size_t>(pptr() - pbase())));
    setp(nullptr, nullptr);
    if (auto error = file_.write(bytes))
        return fail(error);
    return true;
}

bool file_streambuf::drop_read_ahead() {
    if (!eback())
        return true;
    const auto unread = static_cast<std::int64_t>(egptr() - gptr());
    setg(nullptr, nullptr, nullptr);
    if (unread == 0)
        return true;
    auto moved = file_.seek(-unread, seek_origin::current);
    return moved ? true : fail(moved.error());
}

file_streambuf::int_type file_streambuf::underflow() {
    if (gptr() && gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    if (!write_out())
        return traits_type::eof();
    auto count = file_.read(std::as_writable_bytes(std::span(buffer_)));
    if (!count) {
        fail(count.error());
        return traits_type::eof();
    }
    if (*count == 0) {
        setg(nullptr, nullptr, nullptr);
        return traits_type::eof();
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data() + *count);
    return traits_type::to_int_type(*gptr());
}

file_streambuf::int_type file_streambuf::overflow(int_type c) {
    if (!drop_read_ahead() || !write_out())
        return traits_type::eof();
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int file_streambuf::sync() {
    return write_out() && drop_read_ahead() ? 0 : -1;
}

file_streambuf::pos_type file_streambuf::seekoff(off_type offset, std::ios_base::seekdir direction,
                                                 std::ios_base::openmode) {
    if (sync() != 0)
        return pos_type(off_type(-1));
    const seek_origin origin = direction == std::ios_base::beg   ? seek_origin::begin
                               : direction == std::ios_base::cur ? seek_origin::current
                                                                 : seek_origin::end;
    auto position = file_.seek(offset, origin);
    if (!position) {
        fail(position.error());
        return pos_type(off_type(-1));
    }
    return pos_type(static_cast<off_type>(*position));
}

file_streambuf::pos_type file_streambuf::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

std::error_code file_streambuf::close() {
    sync();
    if (auto error = file_.close())
        fail(error);
    return error_;
}

} // namespace platform::os
