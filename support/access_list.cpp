#include "support/access_list.h"

#include "support/access_mapping.h"
#include "support/hresult_failure.h"

#include "platform/os/runtime_library.h"

#include <cerrno>
#include <utility>

namespace qv {
namespace {

// libacl's types and constants (sys/acl.h, acl/libacl.h), declared here as the library is
// never linked.
struct entry_handle;
struct permset_handle;
using tag_type = int;
using acl_type = unsigned;
constexpr acl_type acl_type_access = 0x8000;
constexpr acl_type acl_type_default = 0x4000;
constexpr tag_type tag_user_obj = 0x01;
constexpr tag_type tag_group_obj = 0x04;
constexpr tag_type tag_group = 0x08;
constexpr tag_type tag_other = 0x20;
constexpr int first_entry = 0;
constexpr int next_entry = 1;
// ACL_READ, ACL_WRITE and ACL_EXECUTE have the values of posix_permission.
static_assert(posix_permission::read == 4 && posix_permission::write == 2 &&
              posix_permission::execute == 1);

platform::os::runtime_library& library() {
    return platform::os::runtime_library::get("libacl.so.1");
}

template <class Signature> Signature* function(const char* name) {
    return library().function<Signature>(name);
}

acl_type type_code(access_list_type type) {
    return type == access_list_type::access ? acl_type_access : acl_type_default;
}

[[noreturn]] void fail(const char* call) {
    const int error = errno;
    throw_errno(error, std::string(call) + " failed");
}

} // namespace

access_list::access_list(opaque* list) : list_(list), release_(function<int(void*)>("acl_free")) {}

std::optional<access_list> access_list::read(const std::string& path, access_list_type type) {
    auto* get_file = function<opaque*(const char*, acl_type)>("acl_get_file");
    // Looked up first, so that a list once made is always freed.
    function<int(void*)>("acl_free");
    opaque* list = get_file(path.c_str(), type_code(type));
    if (!list && errno == ENOTSUP)
        return std::nullopt;
    if (!list)
        fail("acl_get_file");
    return access_list(list);
}

access_list::~access_list() {
    if (list_)
        release_(list_);
}

access_list::access_list(access_list&& other) noexcept
    : list_(std::exchange(other.list_, nullptr)), release_(other.release_) {}

access_list& access_list::operator=(access_list&& other) noexcept {
    access_list dropped(std::move(*this));
    list_ = std::exchange(other.list_, nullptr);
    release_ = other.release_;
    return *this;
}

access_list access_list::copy() const {
    opaque* list = function<opaque*(opaque*)>("acl_dup")(list_);
    if (!list)
        fail("acl_dup");
    return access_list(list);
}

bool access_list::empty() const {
    entry_handle* entry = nullptr;
    const int found =
        function<int(opaque*, int, entry_handle**)>("acl_get_entry")(list_, first_entry, &entry);
    if (found < 0)
        fail("acl_get_entry");
    return found == 0;
}

access_list access_list::base_entries() const {
    auto* get_entry = function<int(opaque*, int, entry_handle**)>("acl_get_entry");
    auto* get_tag = function<int(entry_handle*, tag_type*)>("acl_get_tag_type");
    auto* create_entry = function<int(opaque**, entry_handle**)>("acl_create_entry");
    auto* copy_entry = function<int(entry_handle*, entry_handle*)>("acl_copy_entry");
    opaque* made = function<opaque*(int)>("acl_init")(3);
    if (!made)
        fail("acl_init");
    access_list base(made);
    entry_handle* entry = nullptr;
    for (int found = get_entry(list_, first_entry, &entry); found != 0;
         found = get_entry(list_, next_entry, &entry)) {
        if (found < 0)
            fail("acl_get_entry");
        tag_type tag = 0;
        if (get_tag(entry, &tag) != 0)
            fail("acl_get_tag_type");
        if (tag != tag_user_obj && tag != tag_group_obj && tag != tag_other)
            continue;
        entry_handle* added = nullptr;
        if (create_entry(&base.list_, &added) != 0)
            fail("acl_create_entry");
        if (copy_entry(added, entry) != 0)
            fail("acl_copy_entry");
    }
    return base;
}

void access_list::set_group_entry(gid_t group, unsigned permissions) {
    auto* get_entry = function<int(opaque*, int, entry_handle**)>("acl_get_entry");
    auto* get_tag = function<int(entry_handle*, tag_type*)>("acl_get_tag_type");
    auto* get_qualifier = function<void*(entry_handle*)>("acl_get_qualifier");
    auto* release = function<int(void*)>("acl_free");

    entry_handle* target = nullptr;
    entry_handle* entry = nullptr;
    for (int found = get_entry(list_, first_entry, &entry); found != 0 && !target;
         found = get_entry(list_, next_entry, &entry)) {
        if (found < 0)
            fail("acl_get_entry");
        tag_type tag = 0;
        if (get_tag(entry, &tag) != 0)
            fail("acl_get_tag_type");
        if (tag != tag_group)
            continue;
        void* qualifier = get_qualifier(entry);
        if (!qualifier)
            fail("acl_get_qualifier");
        const bool same_group = *static_cast<const gid_t*>(qualifier) == group;
        release(qualifier);
        if (same_group)
            target = entry;
    }
    if (!target) {
        if (function<int(opaque**, entry_handle**)>("acl_create_entry")(&list_, &target) != 0)
            fail("acl_create_entry");
        if (function<int(entry_handle*, tag_type)>("acl_set_tag_type")(target, tag_group) != 0)
            fail("acl_set_tag_type");
        if (function<int(entry_handle*, const void*)>("acl_set_qualifier")(target, &group) != 0)
            fail("acl_set_qualifier");
    }

    permset_handle* permset = nullptr;
    if (function<int(entry_handle*, permset_handle**)>("acl_get_permset")(target, &permset) != 0)
        fail("acl_get_permset");
    if (function<int(permset_handle*)>("acl_clear_perms")(permset) != 0)
        fail("acl_clear_perms");
    auto* add_permission = function<int(permset_handle*, unsigned)>("acl_add_perm");
    for (unsigned permission :
         {posix_permission::read, posix_permission::write, posix_permission::execute}) {
        if ((permissions & permission) && add_permission(permset, permission) != 0)
            fail("acl_add_perm");
    }
    if (function<int(entry_handle*, permset_handle*)>("acl_set_permset")(target, permset) != 0)
        fail("acl_set_permset");
    if (function<int(opaque**)>("acl_calc_mask")(&list_) != 0)
        fail("acl_calc_mask");
}

int access_list::write(const std::string& path, access_list_type type) const {
    auto* set_file = function<int(const char*, acl_type, opaque*)>("acl_set_file");
    return set_file(path.c_str(), type_code(type), list_) == 0 ? 0 : errno;
}

} // namespace qv
