#include "payload/failure_code.h"

#include "payload/compress_error.h"
#include "platform/os/error.h"

#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/system/system_error.hpp>

namespace qv {

std::error_code failure_code(const std::exception& failure) {
    // The decompressor's error is itself a stream failure, so it is told apart first.
    if (dynamic_cast<const boost::iostreams::bzip2_error*>(&failure))
        return compress_error::bzip2_error;
    if (const auto* error = dynamic_cast<const std::system_error*>(&failure))
        return error->code();
    if (const auto* error = dynamic_cast<const boost::system::system_error*>(&failure)) {
        const auto& code = error->code();
        if (code.category() == boost::system::generic_category())
            return {code.value(), std::generic_category()};
        // The host's system errors are errno values; this machine's are Windows codes.
        if (code.category() == boost::system::system_category())
            return platform::os::error_from_errno(code.value());
    }
    return compress_error::unexpected;
}

} // namespace qv
