#pragma once
// Helpers for the security functions' tests: access lists read back with libacl itself, the
// HRESULT a call throws, and a child process running as another member of the group "users".

#include "platform/os/runtime_library.h"

#include "tests/support/child_process.h"

#include <filesystem>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <system_error>

namespace security_test {

enum class list_kind { access = 0x8000, default_list = 0x4000 };

// The list in getfacl's text form ("user::rwx\ngroup:users:rwx\n..."), names resolved.
inline std::string acl_text(const std::filesystem::path& object, list_kind kind) {
    auto& library = platform::os::runtime_library::get("libacl.so.1");
    void* list = library.function<void*(const char*, int)>("acl_get_file")(object.c_str(),
                                                                           static_cast<int>(kind));
    if (!list)
        return "(unreadable)";
    char* text = library.function<char*(void*, long*)>("acl_to_text")(list, nullptr);
    std::string result = text ? text : "(no text)";
    library.function<int(void*)>("acl_free")(text);
    library.function<int(void*)>("acl_free")(list);
    return result;
}

// The HRESULT of the std::system_error call throws; 0 when it returns.
template <class Call> std::int32_t hresult_thrown_by(Call call) {
    try {
        call();
    } catch (const std::system_error& error) {
        return error.code().value();
    }
    return 0;
}

// body's exit code, run in a child as the unprivileged user with "users" as its only
// supplementary group: a local user of the machine who is not the installer's.
inline int run_as_local_user(const std::function<int()>& body) {
    return qv_test::run_in_child([&] {
        const group* users = ::getgrnam("users");
        const passwd* user = ::getpwuid(qv_test::unprivileged_user());
        if (!users || !user)
            return 126;
        const gid_t groups[] = {users->gr_gid};
        if (::setgroups(1, groups) != 0 ||
            ::setresgid(user->pw_gid, user->pw_gid, user->pw_gid) != 0 ||
            ::setresuid(user->pw_uid, user->pw_uid, user->pw_uid) != 0)
            return 126;
        return body();
    });
}

} // namespace security_test
