#pragma once
// The process's connection to the display for the gtk renderer, and the look every dialog
// shares: the dialog font, and controls as compact as the templates' rectangles.

namespace platform::ui {

// The dialog font: the templates ask for 8 points.
inline constexpr const char* gtk_dialog_font_family = "Sans";
inline constexpr int gtk_dialog_font_points = 8;

enum class display_state { opened, unavailable };

// gtk_init_check once for the process (GTK is process-wide, as the window station is); later
// calls give the first outcome. When opened, the shared style sheet is in place.
display_state open_gtk_display();

} // namespace platform::ui
