#include "payload/compress_error.h"

#include <string>

namespace qv {
namespace {

class compress_error_category final : public std::error_category {
public:
    const char* name() const noexcept override { return "compress"; }

    std::string message(int value) const override {
        switch (static_cast<compress_error>(value)) {
        case compress_error::invalid_checksum:
            return "invalid checksum";
        case compress_error::interrupted:
            return "interrupted";
        case compress_error::bzip2_error:
            return "bzip2 error";
        case compress_error::unexpected:
            return "unexpected error";
        case compress_error::check_failed:
            break;
        }
        return "unknown error";
    }
};

} // namespace

const std::error_category& compress_category() {
    static const compress_error_category category;
    return category;
}

} // namespace qv
