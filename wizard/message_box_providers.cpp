#include "wizard/message_box_providers.h"

#include <mutex>
#include <utility>

namespace qv {
namespace {

struct provider_table {
    std::mutex mutex;
    caption_provider caption;
    icon_provider icon;
    owner_provider owner;
    modal_notifier modal;
};

// Process-wide as the service's table is on Windows; made on first use.
provider_table& providers() {
    static provider_table table;
    return table;
}

template <class Provider> void replace(Provider provider_table::*slot, Provider provider) {
    auto& table = providers();
    {
        std::lock_guard lock(table.mutex);
        std::swap(table.*slot, provider);
    }
    // provider now holds the previous one, destroyed here without the lock held.
}

template <class Provider> Provider current(Provider provider_table::*slot) {
    auto& table = providers();
    std::lock_guard lock(table.mutex);
    return table.*slot;
}

} // namespace

void set_caption_provider(caption_provider provider) {
    replace(&provider_table::caption, std::move(provider));
}

void set_icon_provider(icon_provider provider) {
    replace(&provider_table::icon, std::move(provider));
}

void set_owner_provider(owner_provider provider) {
    replace(&provider_table::owner, std::move(provider));
}

void set_modal_notifier(modal_notifier notifier) {
    replace(&provider_table::modal, std::move(notifier));
}

std::optional<std::wstring> provided_caption() {
    if (auto provider = current(&provider_table::caption))
        return provider();
    return std::nullopt;
}

std::optional<icon_handle> provided_icon() {
    if (auto provider = current(&provider_table::icon))
        return provider();
    return std::nullopt;
}

std::optional<message_box_owner> provided_owner() {
    if (auto provider = current(&provider_table::owner))
        return provider();
    return std::nullopt;
}

void notify_modal(modeless_windows state) {
    if (auto notifier = current(&provider_table::modal))
        notifier(state);
}

} // namespace qv
