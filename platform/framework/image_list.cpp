#include "platform/framework/image_list.h"

#include "platform/os/resources.h"

namespace platform::framework {

bool CImageList::Create(int cx, int cy, std::uint32_t flags, int initial, int) {
    if (list_ || cx <= 0 || cy <= 0)
        return false;
    list_ = std::make_shared<platform::ui::image_list>();
    list_->width = cx;
    list_->height = cy;
    list_->flags = flags;
    list_->icons.reserve(initial > 0 ? static_cast<std::size_t>(initial) : 0);
    return true;
}

int CImageList::Add(std::uint16_t icon_resource) {
    namespace os = platform::os;
    if (!list_ ||
        !os::find_resource(os::own_module(), os::resource_type::group_icon, icon_resource))
        return -1;
    list_->icons.push_back(icon_resource);
    return static_cast<int>(list_->icons.size()) - 1;
}

int CImageList::GetImageCount() const {
    return list_ ? static_cast<int>(list_->icons.size()) : 0;
}

} // namespace platform::framework
