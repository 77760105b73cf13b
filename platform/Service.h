#pragma once

#include <utility>

namespace platform {

// A platform service that tests can replace: the real implementation unless another one is
// installed. Each service interface declares current() and install() and defines them with
// these two, naming its real implementation.
template <class Interface> Interface*& installedService() {
    static Interface* service = nullptr;
    return service;
}

template <class Interface, class Real> Interface& currentService() {
    static Real real;
    Interface* service = installedService<Interface>();
    return service ? *service : real;
}

// Installs a replacement (nullptr restores the real one); returns the one it replaces.
template <class Interface> Interface* installService(Interface* service) {
    return std::exchange(installedService<Interface>(), service);
}

} // namespace platform
