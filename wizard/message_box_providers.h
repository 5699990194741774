#pragma once
// The message-box service's providers: replaceable function objects through which the service
// learns the application's caption, icon and owner window, and tells the application when its
// modeless windows must stay disabled. One table per process, empty until providers are set;
// an empty provider is not set.

#include "wizard/window_handle.h"

#include <functional>
#include <optional>
#include <string>

namespace qv {

struct message_box_owner {
    std::optional<window_handle> owner;
    // The top-level window the provider disabled, enabled again after the box.
    std::optional<window_handle> disabled_top_level;
};

enum class modeless_windows { disabled, enabled };

using caption_provider = std::function<std::wstring()>;
using icon_provider = std::function<std::optional<icon_handle>()>;
using owner_provider = std::function<message_box_owner()>;
using modal_notifier = std::function<void(modeless_windows)>;

// Each replaces its provider; the previous one is destroyed.
void set_caption_provider(caption_provider provider);
void set_icon_provider(icon_provider provider);
void set_owner_provider(owner_provider provider);
void set_modal_notifier(modal_notifier notifier);

// What the providers answer; none when the provider is not set. Providers run outside the
// table's lock, so they may replace providers themselves.
std::optional<std::wstring> provided_caption();
std::optional<icon_handle> provided_icon();
std::optional<message_box_owner> provided_owner();
// Tells the modal notifier, if one is set.
void notify_modal(modeless_windows state);

} // namespace qv
