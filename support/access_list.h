#pragma once
// POSIX access lists through libacl, whose functions are looked up at run time (a library that
// cannot be loaded throws E_UNEXPECTED, a missing function E_NOTIMPL). Other failures throw the
// HRESULT of their errno.

#include <optional>
#include <string>
#include <sys/types.h>

namespace qv {

enum class access_list_type { access, default_list };

// One access list in memory, freed with it.
class access_list {
public:
    // The object's list of that type; a folder without a default list gives an empty one.
    // Nothing when the file system has no access lists.
    static std::optional<access_list> read(const std::string& path, access_list_type type);
    // A copy holding only the owner, owning-group and other entries: the start of a default
    // list for a folder that has none.
    access_list base_entries() const;

    ~access_list();
    access_list(access_list&& other) noexcept;
    access_list& operator=(access_list&& other) noexcept;
    access_list(const access_list&) = delete;
    access_list& operator=(const access_list&) = delete;

    access_list copy() const;
    bool empty() const;
    // The group's entry gets exactly these permissions (posix_permission bits), replacing the
    // entry it had; the mask becomes the union of the group-class entries.
    void set_group_entry(gid_t group, unsigned permissions);

    // Writes the list onto the object; the errno of the failure (ENOTSUP when the file system
    // has no access lists), 0 on success.
    int write(const std::string& path, access_list_type type) const;

private:
    struct opaque;
    explicit access_list(opaque* list);
    opaque* list_;
    // acl_free, found before any list is made, so that the destructor cannot fail to find it.
    int (*release_)(void*);
};

} // namespace qv
