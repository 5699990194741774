#include "platform/os/registry_hive.h"

namespace platform::os {

std::string_view hive_file_name(registry_hive hive) {
    return hive == registry_hive::local_machine ? "system.reg" : "user.reg";
}

std::string hive_header(registry_hive hive) {
    std::string header = "WINE REGISTRY Version 2\n;; All keys relative to ";
    header += hive == registry_hive::local_machine ? "REGISTRY\\\\Machine"
                                                   : "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000";
    header += "\n\n#arch=win64\n";
    return header;
}

} // namespace platform::os
