#pragma once
// The two registry files of the machine and the header lines that open them.

#include <string>
#include <string_view>

namespace platform::os {

enum class registry_hive {
    local_machine, // system.reg
    current_user,  // user.reg
};

std::string_view hive_file_name(registry_hive hive);

// "WINE REGISTRY Version 2", the comment naming the hive's root, an empty line and
// "#arch=win64", each line ending with "\n".
std::string hive_header(registry_hive hive);

} // namespace platform::os
