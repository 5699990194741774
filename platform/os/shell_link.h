#pragma once
// The shell link object (CLSID_ShellLink with its IShellLinkW and IPersistFile interfaces): a
// link's target, arguments, working folder, description, icon and show command, saved to and
// loaded from ".lnk" files in the Shell Link binary format.

#include "platform/os/result.h"
#include "platform/os/shell_link_format.h"

#include <cstdint>
#include <string_view>
#include <system_error>

namespace platform::os {

class shell_link {
public:
    // CoCreateInstance(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkW): a link with
    // nothing set. Fails with the HRESULT CO_E_NOTINITIALIZED on a thread that does not hold a
    // COM initialization (com_library.h).
    static result<shell_link> create();

    // SetPath: the target becomes the full form of path (against the current directory), with
    // the find data of what it names, if anything, and the serial number of its drive. An empty
    // path clears the target. A network path gives ERROR_BAD_NETPATH and a device or verbatim
    // path ERROR_INVALID_NAME; the link is then left as it was.
    std::error_code set_path(std::wstring_view path);
    void set_arguments(std::wstring_view arguments);
    void set_working_directory(std::wstring_view folder);
    void set_description(std::wstring_view description);
    void set_icon_location(std::wstring_view path, std::int32_t index);
    void set_show_command(show_command command);

    const shell_link_fields& fields() const { return fields_; }

    // IPersistFile::Save: writes the link to link_path, replacing any file there as a whole (the
    // file holds its old content or the complete link, never a part). Fails like
    // replace_file_content, or with ERROR_INVALID_PARAMETER for a string too long for the format.
    std::error_code save(std::wstring_view link_path) const;

    // IPersistFile::Load: every field from the link file; the object is unchanged on failure.
    // ERROR_INVALID_DATA when the file is not a shell link.
    std::error_code load(std::wstring_view link_path);

private:
    shell_link() = default;

    shell_link_fields fields_;
};

} // namespace platform::os
