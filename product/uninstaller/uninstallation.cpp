#include "product/uninstaller/uninstallation.h"

#include "platform/os/error.h"
#include "platform/os/files.h"
#include "platform/os/windows_path.h"
#include "product/uninstaller/entry_removal.h"
#include "product/uninstaller/product_keys.h"
#include "product/uninstaller/unregistration.h"

#include <optional>

namespace uninstaller {
namespace os = platform::os;
namespace {

using qv::log_record;
using qv::log_record_kind;

constexpr std::int32_t main_program_kind = 1;
constexpr std::int32_t uninstaller_kind = 2;
constexpr std::int32_t shared_data_kind = 3;

std::wstring reason_of(const std::error_code& error) {
    return os::error_text(os::message_id(error));
}

// The product's main program of the latest installation the log lists.
std::optional<std::wstring> main_program(const std::list<log_record>& records) {
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        if (record->kind == log_record_kind::file && record->entry_kind_value == main_program_kind)
            return record->path;
    }
    return std::nullopt;
}

bool same_file(std::wstring_view a, std::wstring_view b) {
    const auto first = os::get_file_identity(a);
    const auto second = os::get_file_identity(b);
    return first && second && *first == *second;
}

class undoing {
public:
    undoing(const std::list<log_record>& records, std::wstring_view own_path)
        : records_(records), own_path_(own_path) {}

    // False when the product could not undo its registration. A product whose program is
    // already gone (removed by an earlier run that left something else) has nothing to ask.
    bool unregister() {
        const auto program = main_program(records_);
        if (!program || !os::path_exists(*program))
            return true;
        const std::wstring failure = unregister_product(*program);
        if (failure.empty())
            return true;
        leave(*program + L" /Unregister", failure);
        return false;
    }

    void remove_listed_entries() {
        for (auto record = records_.rbegin(); record != records_.rend(); ++record) {
            switch (record->kind) {
            case log_record_kind::file:
                remove_file_record(*record);
                break;
            case log_record_kind::menu_link:
            case log_record_kind::uninstall_link:
            case log_record_kind::desktop_link:
                if (!record->path.empty())
                    remove_file(record->path);
                break;
            case log_record_kind::folder:
                remove_folder(record->path);
                break;
            case log_record_kind::uninstall_key:
            case log_record_kind::registration:
                break;
            }
        }
    }

    void remove_traces(std::wstring_view log_path) {
        if (std::error_code error = remove_uninstall_entry())
            leave(L"HKEY_LOCAL_MACHINE\\" + product_uninstall_key_path(), reason_of(error));
        if (std::error_code error = remove_registered_program_path())
            leave(L"HKEY_LOCAL_MACHINE\\Software\\Quorvane", reason_of(error));
        if (!complete())
            return;
        remove_file(log_path);
        if (!complete())
            return;
        remove_file(own_path_);
        remove_folder(os::drop_last_component(own_path_));
        for (auto record = records_.rbegin(); record != records_.rend(); ++record) {
            if (record->kind == log_record_kind::folder)
                remove_folder(record->path);
        }
    }

    bool complete() const { return outcome_.left.empty(); }
    uninstall_outcome result() && { return std::move(outcome_); }

private:
    void remove_file_record(const log_record& record) {
        if (record.entry_kind_value == shared_data_kind) {
            outcome_.shared_data_kept = true;
            return;
        }
        // The running uninstaller goes last, with its log.
        if (record.entry_kind_value == uninstaller_kind && same_file(record.path, own_path_))
            return;
        remove_file(record.path);
    }

    void remove_file(std::wstring_view path) {
        if (std::error_code error = remove_installed_file(path))
            leave(std::wstring(path), reason_of(error));
    }

    // A folder that still holds something stays without complaint: what is in it is not the
    // installation's, or it is reported itself.
    void remove_folder(std::wstring_view path) {
        const auto removed = remove_folder_if_empty(path);
        if (!removed)
            leave(std::wstring(path), reason_of(removed.error()));
    }

    void leave(std::wstring what, std::wstring reason) {
        outcome_.left.push_back({std::move(what), std::move(reason)});
    }

    const std::list<log_record>& records_;
    std::wstring own_path_;
    uninstall_outcome outcome_;
};

} // namespace

uninstall_outcome undo_installation(const qv::uninstall_log& log, std::wstring_view own_path,
                                    std::wstring_view log_path) {
    undoing work(log.previous_records, own_path);
    if (work.unregister()) {
        work.remove_listed_entries();
        if (work.complete())
            work.remove_traces(log_path);
    }
    return std::move(work).result();
}

} // namespace uninstaller
