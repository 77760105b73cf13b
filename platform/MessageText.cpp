#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"

namespace platform {

std::string runtimeErrorText(const RuntimeError& error) {
    return "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description();
}

void showRuntimeError(const RuntimeError& error) {
    MessageBox::current().showOk(runtimeErrorText(error));
}

} // namespace platform
