#include "locations/destination.h"

#include "locations/shell_folder.h"
#include "platform/os/shell_folders.h"
#include "platform/os/windows_path.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace qv {
namespace csidl = platform::os::csidl;
namespace {

enum class registration { none, shared };

// A placeholder whose base is a shell folder.
struct shell_placeholder {
    std::wstring_view name;
    int csidl;
    std::optional<int> fallback;
    registration registers;
};

constexpr shell_placeholder shell_placeholders[] = {
    {L"<ProgramFiles>", csidl::program_files, std::nullopt, registration::none},
    {L"<ProgramCommon>", csidl::program_files_common, std::nullopt, registration::none},
    {L"<CommonData>", csidl::common_appdata, csidl::appdata, registration::shared},
    {L"<UserData>", csidl::appdata, std::nullopt, registration::none},
    {L"<CommonDocuments>", csidl::common_documents, csidl::personal, registration::shared},
    {L"<Documents>", csidl::personal, std::nullopt, registration::none},
    {L"<CommonDesktop>", csidl::common_desktop_directory, csidl::desktop_directory,
     registration::shared},
    {L"<Desktop>", csidl::desktop_directory, std::nullopt, registration::none},
    {L"<WinDir>", csidl::windows, std::nullopt, registration::none},
    {L"<System>", csidl::system, std::nullopt, registration::none},
};

bool is_placeholder(std::wstring_view element) {
    return element.starts_with(L'<') && element.ends_with(L'>');
}

std::wstring all_users_desktop() {
    return get_shell_folder(csidl::common_desktop_directory, csidl::desktop_directory,
                            shell_fallback::allowed);
}

// The sample folder on the all-users desktop, where every user may add to it; an absolute one
// is taken as it is and left alone.
std::wstring sample_base(const std::wstring& sample, shared_folder_list& shared) {
    if (sample.empty())
        return all_users_desktop();
    if (platform::os::path_is_absolute(sample))
        return sample;
    std::wstring folder = platform::os::path_join(all_users_desktop(), sample);
    shared.add(folder);
    return folder;
}

struct base_folder {
    std::wstring folder;
    registration registers = registration::none;
};

base_folder base_of(std::wstring_view placeholder, const target_folders& folders,
                    shared_folder_list& shared) {
    if (placeholder == L"<InstallPath>")
        return {folders.install};
    if (placeholder == L"<SamplePath>")
        return {sample_base(folders.sample, shared)};
    const auto* found =
        std::ranges::find(shell_placeholders, placeholder, &shell_placeholder::name);
    if (found != std::ranges::end(shell_placeholders)) {
        const shell_fallback fallback =
            found->fallback ? shell_fallback::allowed : shell_fallback::forbidden;
        return {get_shell_folder(found->csidl, found->fallback.value_or(0), fallback),
                found->registers};
    }
    if (placeholder == L"<Temporary>")
        return {folders.temporary.empty() ? folders.install : folders.temporary};
    return {};
}

} // namespace

std::wstring resolve_destination(std::wstring_view destination, const target_folders& folders,
                                 shared_folder_list& shared) {
    const std::vector<std::wstring> elements = platform::os::path_elements(destination);
    if (elements.empty() || !is_placeholder(elements.front()))
        return std::wstring(destination);
    base_folder base = base_of(elements.front(), folders, shared);
    std::wstring result = std::move(base.folder);
    for (auto element = elements.begin() + 1; element != elements.end(); ++element) {
        result = platform::os::path_join(result, *element);
        if (base.registers == registration::shared)
            shared.add(result);
    }
    return result;
}

} // namespace qv
