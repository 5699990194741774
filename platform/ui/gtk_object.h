#pragma once
// Owns one reference to a GObject (a pixbuf, a list store, a loader) and drops it when done.

#include <glib-object.h>

#include <memory>

namespace platform::ui {

struct gobject_unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

template <class Object> using gtk_object = std::unique_ptr<Object, gobject_unref>;

} // namespace platform::ui
