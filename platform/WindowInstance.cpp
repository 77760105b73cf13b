#include "platform/WindowInstance.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {
std::vector<WindowInstanceBase*>& instances() {
    static std::vector<WindowInstanceBase*> all;
    return all;
}
} // namespace

WindowInstanceBase::WindowInstanceBase() {
    instances().push_back(this);
}

WindowInstanceBase::~WindowInstanceBase() {
    std::erase(instances(), this);
}

void WindowInstanceBase::hideAll() {
    for (WindowInstanceBase* instance : instances())
        if (QWidget* window = instance->widget())
            window->hide();
}

void WindowInstanceBase::destroyAll() {
    for (WindowInstanceBase* instance : instances())
        instance->destroyNow();
}

} // namespace platform
