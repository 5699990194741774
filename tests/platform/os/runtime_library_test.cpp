#include "platform/os/runtime_library.h"

#include "platform/os/error.h"

#include "tests/support/temp_machine.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace os = platform::os;

namespace {

constexpr const char* access_lists = "libacl.so.1";
constexpr int acl_type_access = 0x8000;

// The code of the system_error that call throws, if it throws one.
template <class Call> std::error_code thrown_by(Call call) {
    try {
        call();
    } catch (const std::system_error& error) {
        return error.code();
    }
    return {};
}

TEST(runtime_library, calls_a_function_of_the_access_list_library) {
    qv_test::temp_machine machine;
    const auto file = machine.root().parent_path() / "listed.txt";
    qv_test::write_host_file(file, "x");
    ::chmod(file.c_str(), 0640);

    auto& library = os::runtime_library::get(access_lists);
    auto* get_file = library.function<void*(const char*, int)>("acl_get_file");
    auto* to_text = library.function<char*(void*, long*)>("acl_to_text");
    auto* release = library.function<int(void*)>("acl_free");

    void* list = get_file(file.c_str(), acl_type_access);
    ASSERT_NE(list, nullptr);
    char* text = to_text(list, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), "user::rw-\ngroup::r--\nother::---\n");
    EXPECT_EQ(release(text), 0);
    EXPECT_EQ(release(list), 0);
}

TEST(runtime_library, the_library_and_each_function_are_looked_up_once) {
    auto& library = os::runtime_library::get(access_lists);
    EXPECT_EQ(&os::runtime_library::get(access_lists), &library);
    auto* first = library.function<int(void*)>("acl_free");
    EXPECT_EQ(library.function<int(void*)>("acl_free"), first);
    EXPECT_NE(library.function<int(void*)>("acl_valid"), first);
}

TEST(runtime_library, a_missing_function_is_not_implemented) {
    auto& library = os::runtime_library::get(access_lists);
    EXPECT_EQ(thrown_by([&] { library.function<int()>("acl_no_such_function"); }),
              os::hresult_error_code(os::hresults::e_notimpl));
    // Still missing on a second look, and the library still serves.
    EXPECT_EQ(thrown_by([&] { library.function<int()>("acl_no_such_function"); }),
              os::hresult_error_code(os::hresults::e_notimpl));
    EXPECT_NE(library.function<int(void*)>("acl_free"), nullptr);
}

TEST(runtime_library, a_library_that_cannot_load_is_unexpected) {
    for (const char* name : {"libqv-no-such-library.so.1", "/nonexistent/libacl.so.1"}) {
        EXPECT_EQ(thrown_by([&] { os::runtime_library::get(name); }),
                  os::hresult_error_code(os::hresults::e_unexpected))
            << name;
    }
}

} // namespace
