#include "platform/nix/TextRegistry.h"

#include "platform/Files.h"

#include <charconv>
#include <cstring>
#include <exception>

namespace platform {

namespace {

// Names in the registry compare without regard to case; the system folds ASCII letters.
std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// One to maxDigits hexadecimal digits and nothing else.
std::optional<std::uint32_t> hexNumber(std::string_view digits, std::size_t maxDigits) {
    std::uint32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, 16);
    if (digits.size() > maxDigits || stop != end || error != std::errc())
        return std::nullopt;
    return value;
}

// A double-quoted text at the start of text, with \\ and \" undone; text moves past it.
std::optional<std::string> quoted(std::string_view& text) {
    if (!text.starts_with('"'))
        return std::nullopt;
    std::string result;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            result += text[++i];
        } else if (c == '"') {
            text.remove_prefix(i + 1);
            return result;
        } else {
            result += c;
        }
    }
    return std::nullopt;
}

// The data after "=": a string, a number or an expandable string as a list of bytes such as
// "25,00", which may be empty.
std::optional<std::pair<std::uint32_t, std::string>> valueData(std::string_view data) {
    data = trim(data);
    if (auto text = quoted(data)) {
        if (!trim(data).empty())
            return std::nullopt;
        return std::pair{Registry::String, *text + '\0'};
    }
    const std::string type = lower(data.substr(0, data.find(':') + 1));
    if (type == "dword:") {
        const auto number = hexNumber(trim(data.substr(type.size())), 8);
        if (!number)
            return std::nullopt;
        std::string bytes;
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>((*number >> shift) & 0xFF);
        return std::pair{Registry::Number, bytes};
    }
    if (type != "hex(2):")
        return std::nullopt;
    std::string bytes;
    for (std::string_view list = trim(data.substr(type.size())); !list.empty();) {
        const std::size_t comma = list.find(',');
        const auto byte = hexNumber(trim(list.substr(0, comma)), 2);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return std::pair{Registry::ExpandString, bytes};
}

} // namespace

TextRegistry::TextRegistry(std::string path) : m_path(std::move(path)) {}

TextRegistry TextRegistry::fromText(std::string text) {
    TextRegistry registry;
    registry.m_path.reset();
    registry.m_text = std::move(text);
    return registry;
}

std::string TextRegistry::exportText() const {
    if (!m_path)
        return m_text;
    try {
        // Only a regular file, read without waiting: a pipe or a device there must not hang
        // the caller. One too large is not cut short, where a value could end half-read.
        std::string text = readFileStart(*m_path, maxFileBytes + 1);
        return text.size() > maxFileBytes ? std::string() : text;
    } catch (const std::exception&) {
        return {}; // anything else, or a file that cannot be read: an empty registry
    }
}

std::optional<TextRegistry::Values> TextRegistry::valuesOf(std::string_view text,
                                                           const std::string& keyName) {
    auto nextLine = [&text] {
        const std::size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        return line;
    };
    if (nextLine() != "REGEDIT4")
        return std::nullopt;

    // The key's sections, wherever they stand; a later value of a name replaces an earlier one.
    const std::string section = "[hkey_local_machine\\" + lower(keyName) + "]";
    std::optional<Values> values;
    bool inKey = false;
    while (!text.empty()) {
        // A list of bytes may go on over several lines, each but the last ending in "\".
        std::string line(nextLine());
        while (line.ends_with('\\') && !text.empty()) {
            line.pop_back();
            line += nextLine();
        }
        if (line.starts_with('[')) {
            inKey = lower(line) == section;
            if (inKey && !values)
                values.emplace();
            continue;
        }
        std::string_view entry = line;
        const auto name = quoted(entry);
        entry = trim(entry);
        if (!inKey || !name || !entry.starts_with('='))
            continue;
        if (auto value = valueData(entry.substr(1)))
            (*values)[lower(*name)] = std::move(*value);
    }
    return values;
}

std::int32_t TextRegistry::RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t,
                                         std::uint32_t accessMask, Key* result) {
    *result = 0;
    if (root != LocalMachine)
        return InvalidHandle;
    // Nothing here writes the file, so no right beyond reading is granted.
    if (accessMask & ~ReadAccess)
        return AccessDenied;
    auto values = valuesOf(exportText(), keyName);
    if (!values)
        return FileNotFound;
    *result = m_nextHandle;
    m_nextHandle += 4;
    m_open.emplace(*result, std::move(*values));
    return Success;
}

std::int32_t TextRegistry::RegQueryValueExA(Key key, const std::string& valueName, std::uint32_t*,
                                            std::uint32_t* type, unsigned char* data,
                                            std::uint32_t* dataSize) {
    const auto open = m_open.find(key);
    if (open == m_open.end())
        return InvalidHandle;
    const auto found = open->second.find(lower(valueName));
    if (found == open->second.end())
        return FileNotFound;
    const auto& [valueType, bytes] = found->second;
    const auto size = static_cast<std::uint32_t>(bytes.size());
    const bool fits = *dataSize >= size;
    if (fits)
        std::memcpy(data, bytes.data(), size);
    *type = valueType;
    *dataSize = size;
    return fits ? Success : MoreData;
}

std::int32_t TextRegistry::RegCloseKey(Key key) {
    return m_open.erase(key) ? Success : InvalidHandle;
}

} // namespace platform
