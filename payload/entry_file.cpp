#include "payload/entry_file.h"

#include "payload/payload_file_error.h"
#include "payload/shared_folder_grant.h"
#include "platform/os/directories.h"
#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/windows_path.h"

#include <vector>

namespace qv {
namespace {

namespace os = platform::os;

// Content flows through in chunks of this size, each written as it fills.
constexpr std::size_t write_buffer_size = 4096;

bool is_folder(const std::wstring& path) {
    const auto attributes = os::get_file_attributes(path, os::symlinks::refuse);
    return attributes && (*attributes & os::file_attribute::directory) &&
           !(*attributes & os::file_attribute::reparse_point);
}

// A read-only file is overwritten as Windows installers do, by clearing the attribute first.
// A symbolic link is left alone, so that its target is never changed; the open refuses it.
void make_writable(const std::wstring& target) {
    const auto attributes = os::get_file_attributes(target, os::symlinks::refuse);
    if (!attributes || (*attributes & os::file_attribute::reparse_point) ||
        (*attributes & os::file_attribute::directory))
        return;
    if (*attributes & os::file_attribute::readonly)
        os::set_file_attributes(target, *attributes & ~os::file_attribute::readonly,
                                os::symlinks::refuse);
}

// The folder and every missing ancestor, from the outermost down.
void create_folders(const std::wstring& folder) {
    std::vector<std::wstring> missing;
    for (std::wstring path = folder; !path.empty() && !os::path_exists(path);) {
        missing.push_back(path);
        std::wstring parent = os::path_parent(path);
        if (parent.size() >= path.size())
            break;
        path = std::move(parent);
    }
    for (auto path = missing.rbegin(); path != missing.rend(); ++path) {
        const auto error = os::create_directory(*path);
        if (error && !(error == os::win32_error::already_exists && is_folder(*path)))
            throw payload_file_error("create_directories", folder, error);
    }
}

} // namespace

entry_file::entry_file(std::wstring target, shared_folder_list& shared)
    : target_(std::move(target)) {
    const std::wstring parent = os::path_parent(target_);
    if (os::path_exists(target_))
        make_writable(target_);
    else if (!parent.empty())
        create_folders(parent);
    grant_shared_folders(parent, shared);
    auto file = os::create_file(target_, os::file_access::generic_write, os::file_share::read,
                                os::creation::create_always, os::file_attribute::normal,
                                os::symlinks::refuse);
    if (!file)
        throw payload_file_error("open", target_, file.error());
    buffer_ = std::make_unique<os::file_streambuf>(std::move(*file), write_buffer_size);
}

entry_file::~entry_file() = default;

void entry_file::write(std::span<const char> bytes) {
    const auto count = static_cast<std::streamsize>(bytes.size());
    if (buffer_->sputn(bytes.data(), count) != count) {
        const auto error = buffer_->last_error();
        throw payload_file_error("write", target_,
                                 error ? error : make_error_code(os::win32_error::write_fault));
    }
}

void entry_file::close() {
    if (const auto error = buffer_->close())
        throw payload_file_error("write", target_, error);
}

} // namespace qv
