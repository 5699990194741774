#include "platform/framework/message_map.h"

namespace platform::framework {

namespace {

template <class Matches>
const message_map_entry* find_entry(const message_map& map, Matches matches) {
    for (const message_map* table = &map; table; table = table->base) {
        for (const auto& entry : table->entries) {
            if (matches(entry))
                return &entry;
        }
    }
    return nullptr;
}

} // namespace

const message_map_entry* find_command_entry(const message_map& map, int id, std::uint16_t code) {
    return find_entry(map, [&](const message_map_entry& entry) {
        return entry.kind == message_kind::command && entry.id == id && entry.code == code;
    });
}

const message_map_entry* find_message_entry(const message_map& map, message_kind kind) {
    return find_entry(map, [kind](const message_map_entry& entry) { return entry.kind == kind; });
}

} // namespace platform::framework
