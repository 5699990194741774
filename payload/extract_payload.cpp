#include "payload/extract_payload.h"

#include "payload/compress_error.h"
#include "payload/decompression.h"
#include "payload/failure_code.h"
#include "payload/payload_extractor.h"
#include "payload/payload_file_error.h"

#include <exception>
#include <string>
#include <system_error>

namespace qv {
namespace {

// Runs the extraction; a failure leaves it with the entry that was being written, if any, in
// failure_path. The extractor, and with it the file being written, is closed before the failure
// is reported, so that the caller can deal with that file at once.
void run_extraction(std::istream& payload, const target_folders& folders,
                    const extraction_callback& callback, std::wstring& failure_path) {
    payload_extractor extractor(folders, callback);
    try {
        const auto compressed = decompress_payload(
            payload, [&extractor](std::span<const char> bytes) { return extractor.write(bytes); });
        extractor.finish_trailing_entries();
        if (!extractor.complete())
            throw std::system_error(compress_error::unexpected);
        callback(notification::finished{compressed, extractor.total()});
    } catch (...) {
        if (const auto* entry = extractor.started_entry())
            failure_path = entry->target_path;
        throw;
    }
}

} // namespace

bool extract_payload(std::istream& payload, const target_folders& folders,
                     const extraction_callback& callback) {
    std::wstring failure_path;
    try {
        callback(notification::started{});
        run_extraction(payload, folders, callback, failure_path);
        return true;
    } catch (const std::exception& failure) {
        if (failure_path.empty()) {
            if (const auto* file_error = dynamic_cast<const payload_file_error*>(&failure))
                failure_path = file_error->path();
        }
        try {
            callback(notification::failed{failure_code(failure), failure_path});
        } catch (const std::exception&) {
            // The answer to failed is ignored, and so is a failure to give one.
        }
        return false;
    }
}

} // namespace qv
