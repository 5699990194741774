#pragma once
// Pictures of the program's resources as pixbufs: bitmap resources (DIBs without a file header)
// and icon groups (the entry nearest a wanted size), decoded by GdkPixbuf's BMP and ICO loaders
// from the file each resource would be on disk.

#include "platform/os/resources.h"
#include "platform/ui/gtk_object.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>

namespace platform::ui {

// LoadBitmapW: none when the module has no such bitmap or its bytes do not decode.
gtk_object<GdkPixbuf> load_bitmap_pixbuf(const platform::os::resource_module& module,
                                         std::uint16_t bitmap_resource);

// LoadImageW of an icon at a size: the group's entry closest to that size (the larger on a tie,
// as it scales down better). None when missing or undecodable.
gtk_object<GdkPixbuf> load_icon_pixbuf(const platform::os::resource_module& module,
                                       std::uint16_t icon_resource, int size);

} // namespace platform::ui
