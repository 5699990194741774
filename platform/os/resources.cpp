#include "platform/os/resources.h"

#include "platform/os/binary_view.h"
#include "platform/os/elf_resources.h"
#include "platform/os/module_file.h"
#include "platform/os/pe_resources.h"
#include "platform/os/resource_image.h"
#include "platform/os/resource_module.h"

#include <algorithm>
#include <cstdint>
#include <new>

// The bounds of the program's resource image, placed by the resources' object library. Weak, so
// that a program linked without it sees null addresses.
extern "C" {
extern const std::byte qv_resource_image_begin[] __attribute__((weak));
extern const std::byte qv_resource_image_end[] __attribute__((weak));
}

namespace platform::os {
namespace {

resource_module read_own_module() {
    resource_module module;
    if (!qv_resource_image_begin || !qv_resource_image_end)
        return module;
    const auto size = reinterpret_cast<std::uintptr_t>(qv_resource_image_end) -
                      reinterpret_cast<std::uintptr_t>(qv_resource_image_begin);
    try {
        add_resource_image(std::span(qv_resource_image_begin, size), module,
                           win32_error::bad_exe_format);
    } catch (const binary_format_error&) {
        return resource_module();
    }
    return module;
}

std::shared_ptr<const resource_module> read_module_file(module_file& file) {
    auto module = std::make_shared<resource_module>();
    const auto head = file.read(0, std::min<std::uint64_t>(file.size(), 4));
    if (has_elf_signature(head)) {
        const auto image = module->keep(read_elf_resource_section(file));
        add_resource_image(image, *module, win32_error::bad_exe_format);
    } else if (has_pe_signature(head)) {
        add_pe_resources(file, *module);
    } else {
        throw binary_format_error(win32_error::bad_exe_format);
    }
    return module;
}

} // namespace

const resource_module& own_module() {
    static const resource_module module = read_own_module();
    return module;
}

result<std::shared_ptr<const resource_module>> load_module_file(std::wstring_view path) {
    auto file = module_file::open(path);
    if (!file)
        return file.error();
    try {
        return read_module_file(*file);
    } catch (const std::system_error& error) {
        return error.code();
    } catch (const std::bad_alloc&) {
        return win32_error::not_enough_memory;
    }
}

std::optional<std::span<const std::byte>> find_resource(const resource_module& module,
                                                        const resource_id& type,
                                                        const resource_id& name,
                                                        std::optional<std::uint16_t> language) {
    return module.find(type, name, language);
}

std::wstring load_string(const resource_module& module, std::uint32_t id,
                         std::optional<std::uint16_t> language) {
    constexpr std::uint32_t strings_per_block = 16;
    constexpr std::uint32_t largest_id = 0xFFFF;
    if (id > largest_id)
        return {};
    const auto block = module.find(
        resource_type::string, static_cast<std::uint16_t>(id / strings_per_block + 1), language);
    if (!block)
        return {};
    // Each slot: a count of UTF-16 units, then the units, no NUL.
    const binary_view view(*block, win32_error::resource_data_not_found);
    try {
        std::uint64_t slot = 0;
        for (std::uint32_t skip = id % strings_per_block; skip > 0; --skip)
            slot += 2 + std::uint64_t{view.u16(slot)} * 2;
        const std::uint16_t length = view.u16(slot);
        return utf16le_text(view.range(slot + 2, std::uint64_t{length} * 2));
    } catch (const binary_format_error&) {
        return {};
    }
}

} // namespace platform::os
