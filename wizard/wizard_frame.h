#pragma once
// What the pages ask of the frame that holds them.

namespace qv {

class wizard_frame {
public:
    virtual ~wizard_frame() = default;
    // Re-texts the frame and every page in the current language.
    virtual void ApplyLanguage() = 0;
};

} // namespace qv
