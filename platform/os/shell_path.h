#pragma once
// The shell's path string functions with Windows' results. Like Windows' own, they take only '\'
// as a separator unless a function says otherwise, and where Windows writes into a MAX_PATH
// buffer the result must fit it with its NUL: a function that would need more fails and leaves
// its input as it was, it never truncates.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::os {

// PathGetCharType's flags.
namespace gct {
inline constexpr std::uint32_t invalid = 0x0;
inline constexpr std::uint32_t lfn_char = 0x1;
inline constexpr std::uint32_t short_char = 0x2;
inline constexpr std::uint32_t wild = 0x4;
inline constexpr std::uint32_t separator = 0x8;
} // namespace gct

// PathAppendW: more's leading '\' are skipped unless it is a UNC path, then path_combine.
// False when the result does not fit; path is then unchanged.
bool path_append(std::wstring& path, std::wstring_view more);

// PathCombineW: file joined to directory and canonicalized. An absolute file replaces directory;
// a file starting with a single '\' keeps only directory's root.
std::optional<std::wstring> path_combine(std::wstring_view directory, std::wstring_view file);

// PathRemoveFileSpecW: removes the last component and the '\' before it; roots keep their '\'.
// True when something was removed.
bool path_remove_file_spec(std::wstring& path);

// PathFindFileNameW as an offset into path (0 when there is no separator).
std::size_t path_find_file_name(std::wstring_view path);

// PathFindExtensionW as an offset into path: the last '.' of the last component, path.size()
// when there is none.
std::size_t path_find_extension(std::wstring_view path);

// PathRemoveExtensionW.
void path_remove_extension(std::wstring& path);

// PathAddBackslashW. False when the '\' would not fit; path is then unchanged.
bool path_add_backslash(std::wstring& path);

// PathRemoveBackslashW: one trailing '\' is removed unless the path is a root.
void path_remove_backslash(std::wstring& path);

// PathQuoteSpacesW: encloses path in quotes when it has a blank and the result fits. True when
// it did.
bool path_quote_spaces(std::wstring& path);

// PathUnquoteSpacesW: removes one pair of enclosing quotes.
void path_unquote_spaces(std::wstring& path);

// PathRelativePathToW: the path from the folder from (or the folder of the file from) to to.
// Attributes with FILE_ATTRIBUTE_DIRECTORY (0x10) mark a folder. Nothing when the two share no
// prefix or the result does not fit.
std::optional<std::wstring> path_relative_path_to(std::wstring_view from,
                                                  std::uint32_t from_attributes,
                                                  std::wstring_view to,
                                                  std::uint32_t to_attributes);

// PathCanonicalizeW: "." and "x\.." removed, never climbing above the root. Nothing when path
// does not fit.
std::optional<std::wstring> path_canonicalize(std::wstring_view path);

// PathCommonPrefixW: the length of the leading components a and b share, compared without case;
// prefix, when given, receives them as a spells them.
std::size_t path_common_prefix(std::wstring_view a, std::wstring_view b,
                               std::wstring* prefix = nullptr);

// PathGetCharTypeW: a combination of the gct flags.
std::uint32_t path_get_char_type(wchar_t c);

// PathRemoveBlanksW: leading and trailing blanks.
void path_remove_blanks(std::wstring& path);

// PathSearchAndQualifyW: the fully qualified form of path against the process's current
// directory. Nothing for an empty path or when the result does not fit.
std::optional<std::wstring> path_search_and_qualify(std::wstring_view path);

// PathIsRelativeW.
bool path_is_relative(std::wstring_view path);

// PathIsRootW: "\", "X:\", "\\server" and "\\server\share".
bool path_is_root(std::wstring_view path);

// PathStripToRootW: removes components until a root is left. True when one is.
bool path_strip_to_root(std::wstring& path);

// PathIsUNCW.
bool path_is_unc(std::wstring_view path);

// PathIsDirectoryW and PathFileExistsW: look at the machine. Relative paths are taken against
// the process's current directory.
bool path_is_directory(std::wstring_view path);
bool path_file_exists(std::wstring_view path);

} // namespace platform::os
