#include "platform/ProgramEnd.h"

#include "platform/WindowInstance.h"

#include <QCoreApplication>

namespace platform {

namespace {
EndFunction& installedEnd() {
    static EndFunction end;
    return end;
}
} // namespace

void endProgram() {
    if (const auto& end = installedEnd()) {
        end();
        return;
    }
    // The caller may be a handler of one of these windows, so they are hidden now and
    // destroyed once the event loop has returned (see main).
    WindowInstanceBase::hideAll();
    QCoreApplication::exit(0);
}

EndFunction replaceEndProgram(EndFunction end) {
    EndFunction old = std::move(installedEnd());
    installedEnd() = std::move(end);
    return old;
}

} // namespace platform
