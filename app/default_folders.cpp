#include "app/default_folders.h"

#include "app/product_identity.h"
#include "platform/os/shell_folders.h"
#include "platform/os/shell_path.h"

namespace qv {
namespace os = platform::os;
namespace {

// The product's own folder below a base folder; a base the shell could not give stays empty,
// so the result is then relative.
std::wstring product_folder_below(std::wstring base) {
    os::path_append(base, maker_folder_name);
    os::path_append(base, product_key_name(product_code));
    return base;
}

} // namespace

std::wstring default_install_folder() {
    std::wstring base;
    os::get_special_folder_path(os::csidl::program_files, base);
    return product_folder_below(std::move(base));
}

std::wstring default_shortcut_folder() {
    std::wstring base;
    if (!os::get_special_folder_path(os::csidl::common_programs, base))
        os::get_special_folder_path(os::csidl::programs, base);
    return product_folder_below(std::move(base));
}

} // namespace qv
