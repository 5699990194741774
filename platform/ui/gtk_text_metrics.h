#pragma once
// Text measured with Pango in the dialog font, as the gtk renderer draws it.

#include "platform/ui/gtk_object.h"
#include "platform/ui/text_metrics.h"

#include <pango/pango.h>

namespace platform::ui {

// Needs the display opened (open_gtk_display).
class gtk_text_metrics final : public text_metrics {
public:
    gtk_text_metrics();

    int text_width(std::wstring_view text) const override;
    int line_height() const override;

private:
    gtk_object<PangoLayout> layout_;
};

} // namespace platform::ui
