#pragma once
// The folders a fresh installation proposes.

#include <string>

namespace qv {

// <program files>\Quorvane\Varnolis 2
std::wstring default_install_folder();

// <common program group, else the user's>\Quorvane\Varnolis 2
std::wstring default_shortcut_folder();

} // namespace qv
