#pragma once

#include <string>

namespace platform {

class RuntimeError;

// The program's modal message boxes: no icon, the application title as caption.
class MessageBox {
public:
    virtual ~MessageBox() = default;

    // A message with an OK button only.
    virtual void showOk(const std::string& text) = 0;
    // A question with Yes (the default) and No; there is no other way out. True means Yes.
    virtual bool askYesNo(const std::string& text) = 0;

    // The box in use: the system's unless a test installed another.
    static MessageBox& current();
    // Installs a replacement (nullptr restores the system's); returns the one it replaces.
    static MessageBox* install(MessageBox* box);
};

// The text of the run-time error message: its number and its description.
std::string runtimeErrorText(const RuntimeError& error);
void showRuntimeError(const RuntimeError& error);

} // namespace platform
