#pragma once
// The language service's record: the current interface language of the process and what follows
// from it.

#include "app/language_table.h"
#include "platform/os/resources.h"

#include <cstdint>
#include <memory>

namespace qv {

class language_state {
public:
    // The process's record, created on first use (once, whichever thread comes first): French,
    // with the C runtime's locale process-wide, the locale of French applied and the thread
    // locale set to French's effective LCID. The thread locale is set only here.
    static language_state& instance();

    language_state(const language_state&) = delete;
    language_state& operator=(const language_state&) = delete;

    // The current interface language.
    language_index language = languages::french;
    // The effective LCID of the current language.
    std::uint32_t lcid = 0;
    // Where localized resources are looked up first; none until the next look-up resolves it to
    // the program's own module.
    std::shared_ptr<const platform::os::resource_module> resource_module;
    // The current language is written right to left.
    bool right_to_left = false;

private:
    language_state();
};

// Makes language i (an index of the table) current: its locale is applied when it changes, its
// effective LCID and writing direction recorded, and the resource module resolved anew.
void set_language(language_index i);

} // namespace qv
