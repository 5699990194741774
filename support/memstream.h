#pragma once
// Byte streams over memory: a read-only stream that reads memory owned by someone else in place
// (the embedded payload), and a read-write stream over storage of its own that grows while it is
// written (the payload's header and entry table while they are being collected).

#include <algorithm>
#include <climits>
#include <cstddef>
#include <ios>
#include <istream>
#include <limits>
#include <memory>
#include <span>
#include <streambuf>
#include <utility>

namespace qv {

// Both areas begin at the start of the storage. The high-water mark ends the valid contents; it
// follows the write position up whenever writing has gone past it, before every read of the
// end, every seek and every contents view.
template <class CharT, class Traits = std::char_traits<CharT>>
class basic_membuf : public std::basic_streambuf<CharT, Traits> {
    using base = std::basic_streambuf<CharT, Traits>;

public:
    using char_type = CharT;
    using traits_type = Traits;
    using int_type = typename Traits::int_type;
    using pos_type = typename Traits::pos_type;
    using off_type = typename Traits::off_type;

    // Empty storage of its own. app without out means nothing, so it is dropped.
    explicit basic_membuf(std::ios_base::openmode mode = std::ios_base::in | std::ios_base::out)
        : mode_(own_storage_mode(mode)) {}

    // Reads the size characters at data in place. The caller's memory is never written nor freed:
    // in is added to the mode and out and app are removed. Without memory the buffer is empty.
    basic_membuf(const char_type* data, std::size_t size,
                 std::ios_base::openmode mode = std::ios_base::in)
        : mode_(borrowed_mode(mode)),
          // The get area's pointers are not const; with out removed nothing writes through them.
          storage_(const_cast<char_type*>(data)), capacity_(data ? size : 0) {
        high_water_ = storage_ + ((mode & std::ios_base::trunc) ? 0 : capacity_);
        this->setg(storage_, (mode & std::ios_base::ate) ? high_water_ : storage_, high_water_);
    }

    basic_membuf(basic_membuf&& other) noexcept
        : base(other), mode_(other.mode_), owned_(std::move(other.owned_)),
          storage_(std::exchange(other.storage_, nullptr)),
          capacity_(std::exchange(other.capacity_, 0)),
          high_water_(std::exchange(other.high_water_, nullptr)) {
        other.setg(nullptr, nullptr, nullptr);
        other.setp(nullptr, nullptr);
    }
    basic_membuf& operator=(basic_membuf&&) = delete;
    basic_membuf(const basic_membuf&) = delete;
    basic_membuf& operator=(const basic_membuf&) = delete;
    ~basic_membuf() override = default;

    // The valid contents: from the start of the storage up to the high-water mark.
    std::span<const char_type> contents() const {
        if (!storage_)
            return {};
        const char_type* end =
            this->pptr() && this->pptr() > high_water_ ? this->pptr() : high_water_;
        return {storage_, static_cast<std::size_t>(end - storage_)};
    }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        if (!writable())
            return traits_type::eof();
        if (mode_ & std::ios_base::app) {
            sync_high_water();
            set_put_position(high_water_);
        }
        if (this->pptr() == this->epptr() && !grow())
            return traits_type::eof();
        *this->pptr() = traits_type::to_char_type(c);
        this->pbump(1);
        sync_high_water();
        return c;
    }

    int_type pbackfail(int_type c) override {
        if (!readable() || this->gptr() == this->eback())
            return traits_type::eof();
        const char_type previous = this->gptr()[-1];
        if (traits_type::eq_int_type(c, traits_type::eof()) ||
            traits_type::eq(traits_type::to_char_type(c), previous)) {
            this->gbump(-1);
            return traits_type::not_eof(c);
        }
        if (!writable())
            return traits_type::eof();
        this->gbump(-1);
        *this->gptr() = traits_type::to_char_type(c);
        return c;
    }

    int_type underflow() override {
        sync_high_water();
        if (!readable() || this->gptr() == this->egptr())
            return traits_type::eof();
        return traits_type::to_int_type(*this->gptr());
    }

    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override {
        sync_high_water();
        const bool get = (which & std::ios_base::in) != 0;
        const bool put = (which & std::ios_base::out) != 0;
        const off_type end = high_water_ - storage_;
        off_type from = 0;
        if (get && readable()) {
            if (put && !writable())
                return failed();
            if (direction == std::ios_base::cur) {
                if (put)
                    return failed();
                from = this->gptr() - storage_;
            } else if (direction == std::ios_base::end) {
                from = end;
            }
        } else if (put && !get && writable()) {
            if (direction == std::ios_base::cur)
                from = this->pptr() - storage_;
            else if (direction == std::ios_base::end)
                from = end;
        } else {
            return failed();
        }
        if (offset < -from || offset > end - from)
            return failed();
        const off_type target = from + offset;
        if ((mode_ & std::ios_base::app) && put && target != end)
            return failed();
        if (get)
            this->setg(storage_, storage_ + target, high_water_);
        if (put)
            set_put_position(storage_ + target);
        return pos_type(target);
    }

    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }

private:
    static constexpr std::ios_base::openmode own_storage_mode(std::ios_base::openmode mode) {
        return (mode & std::ios_base::out) ? mode : mode & ~std::ios_base::app;
    }
    static constexpr std::ios_base::openmode borrowed_mode(std::ios_base::openmode mode) {
        return (mode | std::ios_base::in) & ~(std::ios_base::out | std::ios_base::app);
    }
    static pos_type failed() { return pos_type(off_type(-1)); }

    bool readable() const { return (mode_ & std::ios_base::in) != 0; }
    bool writable() const { return (mode_ & std::ios_base::out) != 0; }

    void sync_high_water() {
        if (this->pptr() && this->pptr() > high_water_)
            high_water_ = this->pptr();
        if (readable())
            this->setg(storage_, this->gptr(), high_water_);
    }

    // pbump takes an int, so a far position is reached in steps.
    void set_put_position(char_type* position) {
        this->setp(storage_, storage_ + capacity_);
        for (std::ptrdiff_t left = position - storage_; left > 0;) {
            const int step = static_cast<int>(std::min<std::ptrdiff_t>(left, INT_MAX));
            this->pbump(step);
            left -= step;
        }
    }

    // 256 characters while the storage is small, then half its size, so that collecting a
    // table costs few copies; smaller steps only near the largest representable size.
    bool grow() {
        constexpr auto largest =
            static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max()) /
            sizeof(char_type);
        const std::size_t size = capacity_;
        std::size_t growth = size < 512 ? 256 : size / 2;
        while (growth >= 2 && largest - size < growth)
            growth /= 2;
        if (growth < 2)
            return false;
        std::unique_ptr<char_type[]> fresh(new char_type[size + growth]);
        std::copy(storage_, storage_ + size, fresh.get());
        const std::ptrdiff_t get_offset = readable() ? this->gptr() - storage_ : 0;
        const std::ptrdiff_t put_offset = this->pptr() - storage_;
        const std::ptrdiff_t high_water_offset = high_water_ - storage_;
        storage_ = fresh.get();
        owned_ = std::move(fresh);
        capacity_ = size + growth;
        high_water_ = storage_ + high_water_offset;
        if (readable())
            this->setg(storage_, storage_ + get_offset, high_water_);
        set_put_position(storage_ + put_offset);
        return true;
    }

    std::ios_base::openmode mode_;
    // Set when the storage was allocated here; borrowed memory is never freed.
    std::unique_ptr<char_type[]> owned_;
    char_type* storage_ = nullptr;
    std::size_t capacity_ = 0;
    char_type* high_water_ = nullptr;
};

// Reads memory the caller keeps alive and unchanged for the stream's lifetime.
template <class CharT, class Traits = std::char_traits<CharT>>
class basic_imemstream : public std::basic_istream<CharT, Traits> {
    using base = std::basic_istream<CharT, Traits>;

public:
    basic_imemstream() : basic_imemstream(nullptr, 0) {}
    basic_imemstream(const CharT* data, std::size_t size,
                     std::ios_base::openmode mode = std::ios_base::in)
        : base(nullptr), buffer_(data, size, mode) {
        this->init(&buffer_);
    }
    basic_imemstream(basic_imemstream&& other)
        : base(std::move(other)), buffer_(std::move(other.buffer_)) {
        this->set_rdbuf(&buffer_);
    }
    basic_imemstream& operator=(basic_imemstream&&) = delete;

    basic_membuf<CharT, Traits>* rdbuf() const {
        return const_cast<basic_membuf<CharT, Traits>*>(&buffer_);
    }

private:
    basic_membuf<CharT, Traits> buffer_;
};

// Reads and writes storage of its own.
template <class CharT, class Traits = std::char_traits<CharT>>
class basic_memstream : public std::basic_iostream<CharT, Traits> {
    using base = std::basic_iostream<CharT, Traits>;

public:
    explicit basic_memstream(std::ios_base::openmode mode = std::ios_base::in | std::ios_base::out)
        : base(nullptr), buffer_(mode) {
        this->init(&buffer_);
    }
    basic_memstream(basic_memstream&& other)
        : base(std::move(other)), buffer_(std::move(other.buffer_)) {
        this->set_rdbuf(&buffer_);
    }
    basic_memstream& operator=(basic_memstream&&) = delete;

    basic_membuf<CharT, Traits>* rdbuf() const {
        return const_cast<basic_membuf<CharT, Traits>*>(&buffer_);
    }

private:
    basic_membuf<CharT, Traits> buffer_;
};

using membuf = basic_membuf<char>;
using imemstream = basic_imemstream<char>;
using memstream = basic_memstream<char>;

} // namespace qv
