#include "platform/ui/gtk_text_metrics.h"

#include "platform/os/unicode.h"
#include "platform/ui/gtk_display.h"

#include <gdk/gdk.h>

#include <memory>
#include <string>

namespace platform::ui {

namespace {

struct font_description_free {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};

} // namespace

gtk_text_metrics::gtk_text_metrics() {
    gtk_object<PangoContext> context(gdk_pango_context_get());
    layout_.reset(pango_layout_new(context.get()));
    const std::unique_ptr<PangoFontDescription, font_description_free> font(
        pango_font_description_new());
    pango_font_description_set_family(font.get(), gtk_dialog_font_family);
    pango_font_description_set_size(font.get(), gtk_dialog_font_points * PANGO_SCALE);
    pango_layout_set_font_description(layout_.get(), font.get());
}

int gtk_text_metrics::text_width(std::wstring_view text) const {
    const std::string utf8 = platform::os::to_utf8(text);
    pango_layout_set_text(layout_.get(), utf8.c_str(), static_cast<int>(utf8.size()));
    int width = 0;
    pango_layout_get_pixel_size(layout_.get(), &width, nullptr);
    return width;
}

int gtk_text_metrics::line_height() const {
    pango_layout_set_text(layout_.get(), "Xg", -1);
    int height = 0;
    pango_layout_get_pixel_size(layout_.get(), nullptr, &height);
    return height;
}

} // namespace platform::ui
