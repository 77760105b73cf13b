#include "platform/RuntimeError.h"

namespace platform {

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(description), m_number(number), m_description(std::move(description)) {}

RuntimeError RuntimeError::of(Number number) {
    switch (number) {
    case InvalidArgument:
        return {number, "Invalid procedure call or argument"};
    case Overflow:
        return {number, "Overflow"};
    case OutOfMemory:
        return {number, "Out of memory"};
    case DivisionByZero:
        return {number, "Division by zero"};
    case Internal:
        return {number, "Internal error"};
    case FileNotFound:
        return {number, "File not found"};
    case DiskFull:
        return {number, "Disk full"};
    case PermissionDenied:
        return {number, "Permission denied"};
    case PathFileAccess:
        return {number, "Path/File access error"};
    case PathNotFound:
        return {number, "Path not found"};
    case ObjectNotSet:
        return {number, "Object variable or With block variable not set"};
    case ControlArrayElementMissing:
        return {number, "Control array element doesn't exist"};
    case IndexOutOfBounds:
        return {number, "Index out of bounds"};
    }
    return {number, "Application-defined or object-defined error"};
}

} // namespace platform
