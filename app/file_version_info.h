#pragma once
// The version resource of a file, or of the program's own resources, and the texts under which
// an installed program's version is shown.

#include "app/packed_version.h"
#include "platform/os/version_info.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class file_version_info {
public:
    // Reads the file's version resource; a file without one (or unreadable) has none.
    explicit file_version_info(std::wstring_view path);
    // Over a block already in memory, which must outlive this object (the program's own
    // resource is not copied).
    explicit file_version_info(std::span<const std::byte> block);

    file_version_info(const file_version_info&) = delete;
    file_version_info& operator=(const file_version_info&) = delete;

    // dwFileVersionMS and dwFileVersionLS packed; 0 without a fixed block.
    packed_version file_version() const;
    bool has_fixed_block() const { return fixed_.has_value(); }

    // The string of the first Unicode translation; empty when absent.
    std::wstring string_value(std::wstring_view key) const;
    std::wstring product_name() const { return string_value(L"ProductName"); }
    std::wstring product_version() const { return string_value(L"ProductVersion"); }
    std::wstring legal_copyright() const { return string_value(L"LegalCopyright"); }

    // "%04hx%04hx" of (language, code page) of every Unicode (1200) translation, in order.
    const std::vector<std::wstring>& translations() const { return translations_; }

    // ProductName, with the edition rule of this product family applied.
    std::wstring display_product_name() const;
    // The display name, the product version, and the pre-release, private and debug marks.
    std::wstring display_version_text() const;

private:
    void read_block();

    std::vector<std::byte> data_;
    std::span<const std::byte> block_;
    std::optional<platform::os::fixed_file_info> fixed_;
    std::vector<std::wstring> translations_;
};

} // namespace qv
