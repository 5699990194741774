#pragma once
// How a Windows grant for the Users group becomes POSIX access-list entries for the group
// "users".
//
// Rights (generic rights are first expanded with the file mapping: GENERIC_READ 0x120089,
// GENERIC_WRITE 0x120116, GENERIC_EXECUTE 0x1200A0, GENERIC_ALL 0x1F01FF):
//   FILE_READ_DATA 0x1      read a file, list a folder           -> r
//   FILE_WRITE_DATA 0x2     write a file, add a file             -> w
//   FILE_APPEND_DATA 0x4    append to a file, add a subfolder    -> w
//   FILE_EXECUTE 0x20       run a file, traverse a folder        -> x
//   On a folder r or w also give x: Windows users hold the bypass-traverse privilege, so a
//   folder they may list or add to is one they may reach into, which POSIX needs x for.
//   DELETE 0x10000 and FILE_DELETE_CHILD 0x40 give nothing of their own: POSIX decides deletion
//   by w and x on the parent folder, so a folder granted w lets the group delete its entries.
//   The extended-attribute and attribute rights, READ_CONTROL, WRITE_DAC, WRITE_OWNER and
//   SYNCHRONIZE have no access-list counterpart: ownership, modes and access lists stay with
//   the owner, and reading attributes needs no right.
//
// Entry flags:
//   0                        one entry "group:users:<perms>" on the object's access list,
//                            replacing the one the group had, with the mask recomputed as the
//                            union of the group-class entries so that the entry takes effect.
//   OBJECT_INHERIT | CONTAINER_INHERIT (3), on a folder
//                            the same entry also on its default list (made from the access
//                            list's owner, group and other entries when it had none). Files and
//                            folders created inside take the default list as their access list
//                            (files lose x through their creation mode), and folders also as
//                            their default list, so the grant reaches the whole tree below.
//   3 on a file              the access entry only: nothing is ever created inside a file.
//   Any other combination    refused with E_INVALIDARG: POSIX has one default list for files
//                            and folders alike that always propagates, so object-inherit or
//                            container-inherit alone, no-propagate and inherit-only would grant
//                            more than asked, and "inherited" is not the caller's to set.

#include <cstdint>

namespace qv {

enum class object_kind { file, folder };

// POSIX permission bits, as access-list entries and the mode's group bits hold them.
namespace posix_permission {
inline constexpr unsigned read = 4;
inline constexpr unsigned write = 2;
inline constexpr unsigned execute = 1;
} // namespace posix_permission

enum class inheritance { none, files_and_folders };

struct posix_grant {
    unsigned permissions = 0;
    // files_and_folders: also on the folder's default list.
    inheritance inherited = inheritance::none;
};

// The entries for the group "users" that mask and flags stand for on an object of that kind.
// Throws E_INVALIDARG for flags the access lists cannot express.
posix_grant map_grant(std::uint32_t access_mask, std::uint32_t flags, object_kind kind);

} // namespace qv
