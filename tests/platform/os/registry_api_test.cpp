#include "platform/os/error.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include "tests/platform/os/registry_test_support.h"

#include <functional>
#include <gtest/gtest.h>

namespace os = platform::os;
using namespace std::string_literals;
using os::predefined_key;
using os::win32_error;

using registry_test::code_of;

namespace {

class registry_api : public ::testing::Test {
protected:
    os::registry_key create(predefined_key root, std::wstring_view path,
                            std::uint32_t access = os::key_access::all_access) {
        os::result<os::created_key> created = os::create_key(root, path, access);
        if (!created)
            throw std::system_error(created.error(), os::to_utf8(path));
        return std::move(created->key);
    }

    os::registry_key open(predefined_key root, std::wstring_view path,
                          std::uint32_t access = os::key_access::all_access) {
        os::result<os::registry_key> opened = os::open_key(root, path, access);
        if (!opened)
            throw std::system_error(opened.error(), os::to_utf8(path));
        return std::move(*opened);
    }

    std::vector<std::wstring> subkeys(const os::registry_key& key) {
        std::vector<std::wstring> names;
        for (std::uint32_t i = 0;; ++i) {
            os::result<std::wstring> name = os::enum_key(key, i);
            if (!name) {
                EXPECT_EQ(name.error(), code_of(win32_error::no_more_items));
                return names;
            }
            names.push_back(*name);
        }
    }

    std::vector<std::wstring> values(const os::registry_key& key) {
        std::vector<std::wstring> names;
        for (std::uint32_t i = 0;; ++i) {
            os::result<std::wstring> name = os::enum_value(key, i);
            if (!name) {
                EXPECT_EQ(name.error(), code_of(win32_error::no_more_items));
                return names;
            }
            names.push_back(*name);
        }
    }

    qv_test::temp_machine machine;
};

TEST_F(registry_api, create_reports_whether_the_key_is_new_and_names_keep_their_case) {
    os::result<os::created_key> first = os::create_key(
        predefined_key::current_user, L"Software\\Quorvane\\Varnolis", os::key_access::all_access);
    ASSERT_TRUE(first) << first.error().message();
    EXPECT_EQ(first->disposition, os::key_disposition::created_new_key);
    os::result<os::created_key> again = os::create_key(
        predefined_key::current_user, L"SOFTWARE\\quorvane\\VARNOLIS", os::key_access::read);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->disposition, os::key_disposition::opened_existing_key);
    // A created parent is opened by its own name in any case; it lists the child as created.
    EXPECT_EQ(subkeys(open(predefined_key::current_user, L"software\\QUORVANE")),
              std::vector<std::wstring>{L"Varnolis"});
    // A key whose parent exists already gets the case it is created with.
    create(predefined_key::current_user, L"software\\quorvane\\Extra");
    EXPECT_EQ(subkeys(open(predefined_key::current_user, L"Software\\Quorvane")),
              (std::vector<std::wstring>{L"Extra", L"Varnolis"}));
}

TEST_F(registry_api, sub_key_paths_follow_windows_rules) {
    create(predefined_key::current_user, L"Software\\Quorvane");
    struct path_case {
        const wchar_t* path;
        std::error_code expected;
    };
    const path_case cases[] = {
        {L"", {}},
        {L"Software", {}},
        {L"Software\\Quorvane\\", {}},
        {L"Software\\\\Quorvane", {}},
        {L"\\Software", code_of(win32_error::bad_pathname)},
        {L"Missing", code_of(win32_error::file_not_found)},
        {L"Software\\Missing\\Deeper", code_of(win32_error::file_not_found)},
        {L"Software/Quorvane", code_of(win32_error::file_not_found)},
    };
    for (const path_case& c : cases) {
        os::result<os::registry_key> opened =
            os::open_key(predefined_key::current_user, c.path, os::key_access::read);
        EXPECT_EQ(opened.error(), c.expected) << os::to_utf8(c.path);
    }
    EXPECT_EQ(os::create_key(predefined_key::current_user, L"\\New", os::key_access::read).error(),
              code_of(win32_error::bad_pathname));
}

TEST_F(registry_api, the_empty_sub_key_opens_the_key_itself_and_the_roots) {
    const os::registry_key key = create(predefined_key::current_user, L"Software\\Q");
    ASSERT_FALSE(os::set_dword_value(key, L"v", 7));
    os::result<os::registry_key> same = os::open_key(key, L"", os::key_access::read);
    ASSERT_TRUE(same);
    EXPECT_EQ(os::query_value(*same, L"v")->bytes, "\7\0\0\0"s);
    for (predefined_key root : {predefined_key::classes_root, predefined_key::current_user,
                                predefined_key::local_machine})
        EXPECT_TRUE(os::open_key(root, L"", os::key_access::read)) << static_cast<int>(root);
    const os::registry_key user = open(predefined_key::current_user, L"");
    EXPECT_FALSE(os::set_string_value(user, L"AtRoot", L"x"));
    EXPECT_EQ(subkeys(user), std::vector<std::wstring>{L"Software"});
}

TEST_F(registry_api, values_are_set_queried_and_deleted) {
    const os::registry_key key = create(predefined_key::current_user, L"Software\\Q");
    ASSERT_FALSE(os::set_string_value(key, L"Path", L"C:\\Program Files\\Q"));
    ASSERT_FALSE(os::set_string_value(key, L"", L"default", os::value_type::expand_sz));
    ASSERT_FALSE(os::set_dword_value(key, L"Count", 0x01020304));
    ASSERT_FALSE(os::set_value(key, L"Blob", os::value_type::binary, "\0\xff"s));

    const os::result<os::value_info> info = os::query_value_info(key, L"path");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->type, os::value_type::sz);
    EXPECT_EQ(info->size, (std::wstring_view(L"C:\\Program Files\\Q").size() + 1) * 2);
    EXPECT_EQ(os::query_value(key, L"PATH")->bytes, os::to_utf16le(L"C:\\Program Files\\Q\0"s));
    EXPECT_EQ(os::query_value(key, L"")->type, os::value_type::expand_sz);
    EXPECT_EQ(os::query_value(key, L"Count")->bytes, "\4\3\2\1"s);
    EXPECT_EQ(os::query_value(key, L"Blob")->bytes, "\0\xff"s);

    // Setting a value again under another case replaces its data and keeps its name.
    ASSERT_FALSE(os::set_value(key, L"COUNT", os::value_type::qword, "12345678"));
    EXPECT_EQ(os::query_value(key, L"count")->type, os::value_type::qword);
    EXPECT_EQ(values(key), (std::vector<std::wstring>{L"Path", L"", L"Count", L"Blob"}));

    EXPECT_FALSE(os::delete_value(key, L"blob"));
    EXPECT_EQ(os::query_value(key, L"Blob").error(), code_of(win32_error::file_not_found));
    EXPECT_EQ(os::query_value_info(key, L"Blob").error(), code_of(win32_error::file_not_found));
    EXPECT_EQ(os::delete_value(key, L"Blob"), code_of(win32_error::file_not_found));
}

TEST_F(registry_api, enumeration_orders_subkeys_by_name_and_values_by_insertion) {
    const os::registry_key key = create(predefined_key::current_user, L"Software\\Q");
    for (const wchar_t* name : {L"beta", L"_x", L"Alpha", L"Zeta", L"gamma"})
        create(predefined_key::current_user, L"Software\\Q\\"s.append(name));
    EXPECT_EQ(subkeys(key),
              (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma", L"Zeta", L"_x"}));

    for (const wchar_t* name : {L"z", L"a", L"m"})
        ASSERT_FALSE(os::set_dword_value(key, name, 1));
    ASSERT_FALSE(os::set_dword_value(key, L"A", 2));
    EXPECT_EQ(values(key), (std::vector<std::wstring>{L"z", L"a", L"m"}));
    ASSERT_FALSE(os::delete_value(key, L"z"));
    ASSERT_FALSE(os::set_dword_value(key, L"z", 3));
    EXPECT_EQ(values(key), (std::vector<std::wstring>{L"a", L"m", L"z"}));
}

TEST_F(registry_api, operations_need_the_access_the_handle_was_opened_with) {
    create(predefined_key::current_user, L"Software\\Q");
    using operation = std::function<std::error_code(const os::registry_key&)>;
    const operation query = [](const os::registry_key& k) {
        return os::query_value(k, L"v").error();
    };
    const operation set = [](const os::registry_key& k) { return os::set_dword_value(k, L"v", 1); };
    const operation remove = [](const os::registry_key& k) { return os::delete_value(k, L"v"); };
    const operation list_keys = [](const os::registry_key& k) {
        return os::enum_key(k, 5).error();
    };
    const operation list_values = [](const os::registry_key& k) {
        return os::enum_value(k, 5).error();
    };
    const operation create_child = [](const os::registry_key& k) {
        return os::create_key(k, L"child", os::key_access::read).error();
    };
    const std::error_code ok;
    const std::error_code denied = code_of(win32_error::access_denied);
    const std::error_code no_more = code_of(win32_error::no_more_items);
    struct access_case {
        std::uint32_t access;
        std::vector<std::pair<const operation*, std::error_code>> outcomes;
    };
    const access_case cases[] = {
        {os::key_access::read,
         {{&query, ok},
          {&list_keys, no_more},
          {&list_values, no_more},
          {&set, denied},
          {&remove, denied},
          {&create_child, denied}}},
        {os::key_access::write,
         {{&query, denied},
          {&list_keys, denied},
          {&list_values, denied},
          {&set, ok},
          {&remove, ok},
          {&create_child, ok}}},
        {os::key_access::query_value, {{&query, ok}, {&list_keys, denied}, {&set, denied}}},
        {os::key_access::enumerate_sub_keys, {{&list_keys, no_more}, {&list_values, denied}}},
        {os::key_access::maximum_allowed, {{&query, ok}, {&set, ok}, {&create_child, ok}}},
        {0x80000000 /* GENERIC_READ */, {{&query, ok}, {&set, denied}}},
        {0x40000000 /* GENERIC_WRITE */, {{&query, denied}, {&set, ok}}},
        {os::key_access::read | 0x0100 /* KEY_WOW64_64KEY */, {{&query, ok}, {&set, denied}}},
    };
    for (const access_case& c : cases) {
        const os::registry_key key = open(predefined_key::current_user, L"Software\\Q", c.access);
        ASSERT_FALSE(
            os::set_dword_value(open(predefined_key::current_user, L"Software\\Q"), L"v", 0));
        for (const auto& [op, expected] : c.outcomes)
            EXPECT_EQ((*op)(key), expected) << std::hex << c.access;
    }
}

TEST_F(registry_api, a_deleted_key_fails_every_operation_through_its_handles) {
    const os::registry_key key = create(predefined_key::current_user, L"Software\\Q\\Doomed");
    const os::registry_key parent = open(predefined_key::current_user, L"Software\\Q");
    ASSERT_FALSE(os::set_dword_value(key, L"v", 1));
    ASSERT_FALSE(os::delete_tree(parent, L"doomed"));

    const std::error_code deleted = code_of(win32_error::key_deleted);
    EXPECT_EQ(os::query_value(key, L"v").error(), deleted);
    EXPECT_EQ(os::query_value_info(key, L"v").error(), deleted);
    EXPECT_EQ(os::set_dword_value(key, L"v", 2), deleted);
    EXPECT_EQ(os::delete_value(key, L"v"), deleted);
    EXPECT_EQ(os::enum_key(key, 0).error(), deleted);
    EXPECT_EQ(os::enum_value(key, 0).error(), deleted);
    EXPECT_EQ(os::open_key(key, L"", os::key_access::read).error(), deleted);
    EXPECT_EQ(os::create_key(key, L"again", os::key_access::read).error(), deleted);
    EXPECT_EQ(os::delete_tree(key, L""), deleted);
    // The parent is untouched.
    EXPECT_TRUE(subkeys(parent).empty());
    EXPECT_FALSE(os::set_dword_value(parent, L"still", 1));
}

TEST_F(registry_api, a_key_deleted_by_another_process_fails_through_handles_of_this_one) {
    const os::registry_key key = create(predefined_key::local_machine, L"Software\\Q\\Sub");
    ASSERT_FALSE(os::set_dword_value(key, L"v", 1));
    ASSERT_TRUE(os::query_value(key, L"v"));
    EXPECT_EQ(qv_test::run_in_child([] {
                  return os::delete_tree(predefined_key::local_machine, L"software\\q") ? 1 : 0;
              }),
              0);
    EXPECT_EQ(os::query_value(key, L"v").error(), code_of(win32_error::key_deleted));
    EXPECT_EQ(os::set_dword_value(key, L"v", 2), code_of(win32_error::key_deleted));
}

TEST_F(registry_api, delete_tree_removes_the_whole_subtree) {
    for (const wchar_t* path : {L"Software\\Q\\A\\B\\C", L"Software\\Q\\A\\D", L"Software\\Q\\E"})
        ASSERT_FALSE(os::set_dword_value(create(predefined_key::current_user, path), L"v", 1));
    EXPECT_FALSE(os::delete_tree(predefined_key::current_user, L"SOFTWARE\\q\\a"));
    EXPECT_EQ(
        os::open_key(predefined_key::current_user, L"Software\\Q\\A\\B\\C", os::key_access::read)
            .error(),
        code_of(win32_error::file_not_found));
    EXPECT_EQ(subkeys(open(predefined_key::current_user, L"Software\\Q")),
              std::vector<std::wstring>{L"E"});
    EXPECT_EQ(os::delete_tree(predefined_key::current_user, L"Software\\Q\\A"),
              code_of(win32_error::file_not_found));

    // Through a handle, the empty sub-key deletes the key itself.
    const os::registry_key e = open(predefined_key::current_user, L"Software\\Q\\E");
    EXPECT_FALSE(os::delete_tree(e, L""));
    EXPECT_TRUE(subkeys(open(predefined_key::current_user, L"Software\\Q")).empty());
}

TEST_F(registry_api, predefined_keys_cannot_be_deleted) {
    create(predefined_key::local_machine, L"Software\\Classes\\.qv");
    for (predefined_key root : {predefined_key::classes_root, predefined_key::current_user,
                                predefined_key::local_machine})
        EXPECT_EQ(os::delete_tree(root, L""), code_of(win32_error::access_denied))
            << static_cast<int>(root);
    EXPECT_EQ(os::delete_tree(open(predefined_key::classes_root, L""), L""),
              code_of(win32_error::access_denied));
    EXPECT_TRUE(os::open_key(predefined_key::classes_root, L".qv", os::key_access::read));
}

TEST_F(registry_api, classes_root_is_software_classes_of_the_local_machine) {
    EXPECT_EQ(subkeys(open(predefined_key::classes_root, L"")), std::vector<std::wstring>{});
    const os::registry_key via_classes = create(predefined_key::classes_root, L".qvx");
    ASSERT_FALSE(os::set_string_value(via_classes, L"", L"Varnolis.Document"));
    const os::registry_key via_machine =
        open(predefined_key::local_machine, L"Software\\Classes\\.QVX");
    EXPECT_EQ(os::query_value(via_machine, L"")->bytes, os::to_utf16le(L"Varnolis.Document\0"s));

    create(predefined_key::local_machine, L"SOFTWARE\\CLASSES\\Varnolis.Document\\shell");
    EXPECT_EQ(subkeys(open(predefined_key::classes_root, L"")),
              (std::vector<std::wstring>{L".qvx", L"Varnolis.Document"}));
    EXPECT_FALSE(os::delete_tree(predefined_key::classes_root, L"varnolis.document"));
    EXPECT_EQ(subkeys(open(predefined_key::local_machine, L"Software\\Classes")),
              std::vector<std::wstring>{L".qvx"});
    // HKEY_CURRENT_USER is a hive of its own.
    EXPECT_EQ(
        os::open_key(predefined_key::current_user, L"Software\\Classes\\.qvx", os::key_access::read)
            .error(),
        code_of(win32_error::file_not_found));
}

TEST_F(registry_api, a_moved_from_handle_is_closed) {
    os::registry_key key = create(predefined_key::current_user, L"Software\\Q");
    const os::registry_key taken = std::move(key);
    EXPECT_FALSE(key.is_open());
    EXPECT_EQ(os::set_dword_value(key, L"v", 1), code_of(win32_error::invalid_handle));
    EXPECT_EQ(os::open_key(key, L"", os::key_access::read).error(),
              code_of(win32_error::invalid_handle));
    EXPECT_FALSE(os::set_dword_value(taken, L"v", 1));
}

} // namespace
