#include "app/language_state.h"

#include "app/language_locale.h"
#include "platform/os/locale.h"
#include "platform/os/process_locale.h"

namespace qv {

language_state::language_state() : lcid(effective_lcid(languages::french)) {
    platform::os::use_process_wide_locale();
    apply_language_locale(languages::french);
    platform::os::set_thread_locale(lcid);
}

language_state& language_state::instance() {
    static language_state state;
    return state;
}

void set_language(language_index i) {
    language_state& state = language_state::instance();
    if (i != state.language)
        apply_language_locale(i);
    state.language = i;
    state.lcid = effective_lcid(i);
    state.resource_module.reset();
    state.right_to_left = is_right_to_left(i);
}

} // namespace qv
