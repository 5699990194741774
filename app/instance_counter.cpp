#include "app/instance_counter.h"

#include "platform/os/kernel_objects.h"

#include <mutex>
#include <optional>

namespace qv {
namespace os = platform::os;
namespace {

constexpr std::int32_t maximum_count = 0x7FFFFFFF;

// This process's registration: held from the first count until the process ends.
class registration {
public:
    explicit registration(std::wstring_view application_id) {
        auto semaphore =
            os::create_semaphore(instance_counter_name(application_id), 0, maximum_count);
        if (!semaphore)
            return;
        semaphore_.emplace(std::move(semaphore->handle));
        if (os::release_semaphore(*semaphore_, 1))
            units_ = 1;
    }

    // Takes this process's units back one by one; if a take fails part-way, the units already
    // taken are given back, so that the count stays true for the others.
    ~registration() {
        if (!semaphore_)
            return;
        std::int32_t taken = 0;
        for (; taken < units_; ++taken) {
            const auto status = os::wait(*semaphore_, 0);
            if (!status || *status != os::wait_status::object_0)
                break;
        }
        if (taken < units_ && taken > 0)
            os::release_semaphore(*semaphore_, taken);
    }

    registration(const registration&) = delete;
    registration& operator=(const registration&) = delete;

    std::int32_t count() const {
        if (!semaphore_)
            return 0;
        const auto previous = os::release_semaphore(*semaphore_, 1);
        if (!previous)
            return 0;
        os::wait(*semaphore_, 0);
        return *previous;
    }

private:
    std::optional<os::kernel_object> semaphore_;
    std::int32_t units_ = 0;
};

} // namespace

std::wstring instance_counter_name(std::wstring_view application_id) {
    return L"Global\\" + std::wstring(application_id) + L".{a3526b56-ca7c-4e16-8a26-da7758a378fd}";
}

std::int32_t running_instance_count(std::wstring_view application_id) {
    // One registration per process, kept until the process ends.
    static const registration process_registration(application_id);
    return process_registration.count();
}

} // namespace qv
