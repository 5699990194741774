#pragma once
// The product's own undoing of its registration: its file association and settings.

#include <string>
#include <string_view>

namespace uninstaller {

// Runs "<program> /Unregister" in the program's folder and waits for it. Empty when it exited
// with 0; otherwise why it did not.
std::wstring unregister_product(std::wstring_view program_path);

} // namespace uninstaller
