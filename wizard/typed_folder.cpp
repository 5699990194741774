#include "wizard/typed_folder.h"

#include "wizard/name_characters.h"

#include "platform/os/full_path.h"
#include "platform/os/shell_path.h"

namespace qv {

namespace os = platform::os;

namespace {

// Puts the process's current directory back as it was when this was made.
class current_directory_restorer {
public:
    current_directory_restorer() : saved_(os::current_directory()) {}
    ~current_directory_restorer() { os::set_current_directory(saved_); }
    current_directory_restorer(const current_directory_restorer&) = delete;
    current_directory_restorer& operator=(const current_directory_restorer&) = delete;

private:
    std::wstring saved_;
};

} // namespace

os::result<std::wstring> qualify_typed_folder(std::wstring_view typed,
                                              const std::optional<std::wstring>& base_folder) {
    if (typed.size() >= os::max_path)
        return os::hresult_error_code(os::hresult_from_win32(
            static_cast<std::uint32_t>(os::win32_error::filename_exced_range)));
    std::wstring text(typed);
    os::path_remove_blanks(text);
    os::path_remove_backslash(text);
    if (text.size() == 2 && text[1] == L':')
        text += L'\\';
    if (text.empty())
        text = os::current_directory();

    std::optional<std::wstring> qualified;
    if (base_folder) {
        current_directory_restorer restorer;
        if (const std::error_code error = os::set_current_directory(*base_folder))
            return error;
        qualified = os::path_search_and_qualify(text);
    } else {
        qualified = os::path_search_and_qualify(text);
    }
    if (!qualified)
        return os::win32_error::bad_pathname;
    if (base_folder && os::path_common_prefix(*qualified, *base_folder) != base_folder->size())
        return os::win32_error::bad_pathname;
    if (!only_name_characters(*qualified))
        return os::win32_error::bad_pathname;
    return std::move(*qualified);
}

} // namespace qv
