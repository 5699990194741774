#pragma once
// CMenu over a window's system menu: items appended, deleted, enabled or grayed and renamed by
// command (MF_BYCOMMAND).

#include "platform/ui/system_menu.h"

#include <cstdint>
#include <string_view>

namespace platform::framework {

inline constexpr std::uint32_t MF_STRING = 0x0000;
inline constexpr std::uint32_t MF_ENABLED = 0x0000;
inline constexpr std::uint32_t MF_BYCOMMAND = 0x0000;
inline constexpr std::uint32_t MF_GRAYED = 0x0001;
inline constexpr std::uint32_t MF_DISABLED = 0x0002;
inline constexpr std::uint32_t MF_SEPARATOR = 0x0800;

class CMenu {
public:
    explicit CMenu(platform::ui::system_menu& menu) : menu_(menu) {}

    // AppendMenuW: a separator with MF_SEPARATOR, else a string item.
    bool AppendMenu(std::uint32_t flags, std::uint32_t id = 0, std::wstring_view text = {});
    bool DeleteMenu(std::uint32_t id, std::uint32_t flags = MF_BYCOMMAND);
    // EnableMenuItem: the item's earlier state (MF_ENABLED or MF_GRAYED), -1 when there is no
    // such item.
    int EnableMenuItem(std::uint32_t id, std::uint32_t enable);
    bool ModifyMenu(std::uint32_t id, std::uint32_t flags, std::uint32_t new_id,
                    std::wstring_view text);

private:
    platform::ui::system_menu& menu_;
};

} // namespace platform::framework
