#include "engine/install_temporary_files.h"

#include "platform/os/directories.h"
#include "platform/os/files.h"

namespace qv {
namespace {

temporary_files*& current_run() {
    static temporary_files* run = nullptr;
    return run;
}

} // namespace

temporary_files::temporary_files(std::wstring temporary_folder)
    : folder_(std::move(temporary_folder)), previous_(current_run()) {
    current_run() = this;
}

temporary_files::~temporary_files() {
    for (const auto& file : files_)
        platform::os::delete_file(file);
    if (!folder_.empty())
        platform::os::remove_directory(folder_);
    current_run() = previous_;
}

temporary_files* temporary_files::current() {
    return current_run();
}

} // namespace qv
