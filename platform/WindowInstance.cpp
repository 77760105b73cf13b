#include "platform/WindowInstance.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {
std::vector<WindowInstanceBase*>& instances() {
    static std::vector<WindowInstanceBase*> all;
    return all;
}
std::vector<std::unique_ptr<Form>>& unloaded() {
    static std::vector<std::unique_ptr<Form>> forms;
    return forms;
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
        if (Form* form = instance->form())
            form->window().hide();
}

void WindowInstanceBase::destroyAll() {
    destroyUnloaded();
    for (WindowInstanceBase* instance : instances())
        instance->destroyNow();
}

void WindowInstanceBase::destroyUnloaded() {
    // Destroying a window may unload others; take the list first.
    std::vector<std::unique_ptr<Form>> forms = std::move(unloaded());
    unloaded().clear();
}

void WindowInstanceBase::retire(std::unique_ptr<Form> form) {
    if (Form::handlingEvent())
        unloaded().push_back(std::move(form));
}

} // namespace platform
