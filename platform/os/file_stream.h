#pragma once
// A buffered std::streambuf over a file_handle, so that stream readers and writers go through
// the file layer (sharing, error codes, the failing-operation hook) for every byte. The Windows
// code of the first failure is kept for the caller, since a stream only reports that it failed.

#include "platform/os/file_handle.h"

#include <cstddef>
#include <streambuf>
#include <system_error>
#include <vector>

namespace platform::os {

class file_streambuf : public std::streambuf {
public:
    explicit file_streambuf(file_handle file, std::size_t buffer_size = 1 << 16);
    // Writes what is still buffered; a failure then is only kept in last_error().
    ~file_streambuf() override;

    file_streambuf(const file_streambuf&) = delete;
    file_streambuf& operator=(const file_streambuf&) = delete;

    // The code of the first failure, success while there was none.
    const std::error_code& last_error() const { return error_; }

    // Writes what is buffered and closes the file: the first failure of the stream's life.
    std::error_code close();

protected:
    int_type underflow() override;
    int_type overflow(int_type c) override;
    int sync() override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    bool fail(std::error_code error);
    // Writes the put area out.
    bool write_out();
    // Gives back the read-ahead bytes not yet consumed by moving the file pointer back to them.
    bool drop_read_ahead();

    file_handle file_;
    std::vector<char> buffer_;
    std::error_code error_;
};

} // namespace platform::os
