#include "platform/TextRegistry.h"

#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <string_view>
#include <utility>

#ifndef _WIN32
#include <unistd.h>
#endif

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

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && lower(text.substr(0, prefix.size())) == prefix;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> hexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// A double-quoted text at the start of text, with \\ and \" undone; text moves past it.
std::optional<std::string> quoted(std::string_view& text) {
    if (text.empty() || text.front() != '"')
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

// "01,02,ff": bytes as two-digit hexadecimal numbers separated by commas; may be empty.
std::optional<std::string> hexBytes(std::string_view list) {
    std::string bytes;
    list = trim(list);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = trim(list.substr(0, comma));
        const auto value = hexNumber(item);
        if (!value || item.size() > 2)
            return std::nullopt;
        bytes += static_cast<char>(*value);
        if (comma == std::string_view::npos)
            break;
        list = trim(list.substr(comma + 1));
    }
    return bytes;
}

struct ParsedValue {
    std::uint32_t type;
    std::string bytes;
};

std::optional<ParsedValue> valueData(std::string_view data) {
    data = trim(data);
    if (!data.empty() && data.front() == '"') {
        auto text = quoted(data);
        if (!text || !trim(data).empty())
            return std::nullopt;
        return ParsedValue{Registry::String, *text + '\0'};
    }
    if (startsWithNoCase(data, "dword:")) {
        const auto number = hexNumber(trim(data.substr(6)));
        if (!number)
            return std::nullopt;
        std::string bytes;
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>((*number >> shift) & 0xFF);
        return ParsedValue{Registry::Number, bytes};
    }
    if (startsWithNoCase(data, "hex:")) {
        auto bytes = hexBytes(data.substr(4));
        if (!bytes)
            return std::nullopt;
        return ParsedValue{Registry::Binary, std::move(*bytes)};
    }
    if (startsWithNoCase(data, "hex(")) {
        const std::size_t close = data.find("):");
        if (close == std::string_view::npos)
            return std::nullopt;
        const auto type = hexNumber(data.substr(4, close - 4));
        auto bytes = hexBytes(data.substr(close + 2));
        if (!type || !bytes)
            return std::nullopt;
        return ParsedValue{*type, std::move(*bytes)};
    }
    return std::nullopt;
}

// The path below HKEY_LOCAL_MACHINE of a section's key, in lower case; none for other roots.
std::optional<std::string> localMachinePath(std::string_view keyPath) {
    const std::string path = lower(keyPath);
    const std::string_view root = "hkey_local_machine";
    if (path == root)
        return std::string();
    if (path.starts_with(root) && path[root.size()] == '\\')
        return path.substr(root.size() + 1);
    return std::nullopt;
}

// A key exists when it is named in a section or is the parent of one.
template <class Keys> bool keyExists(const Keys& keys, const std::string& path) {
    if (path.empty() || keys.count(path))
        return true;
    const std::string parent = path + '\\';
    auto next = keys.lower_bound(parent);
    return next != keys.end() && next->first.starts_with(parent);
}

std::uint32_t rightsAskedFor(std::uint32_t mask, std::uint32_t granted) {
    constexpr std::uint32_t genericRead = 0x80000000, genericWrite = 0x40000000,
                            genericExecute = 0x20000000, genericAll = 0x10000000,
                            maximumAllowed = 0x02000000, keyWrite = 0x20006;
    std::uint32_t rights = mask & Registry::AllAccess;
    if (mask & (genericRead | genericExecute))
        rights |= Registry::ReadAccess;
    if (mask & genericWrite)
        rights |= keyWrite;
    if (mask & genericAll)
        rights |= Registry::AllAccess;
    if (mask & maximumAllowed)
        rights |= granted;
    return rights;
}

} // namespace

TextRegistry::TextRegistry() : TextRegistry(defaultPath) {}

TextRegistry::TextRegistry(std::string path) : m_path(std::move(path)) {}

TextRegistry::TextRegistry(Text, std::string text, std::uint32_t grantedAccess)
    : m_text(std::move(text)), m_textAccess(grantedAccess) {}

TextRegistry TextRegistry::fromText(std::string text, std::uint32_t grantedAccess) {
    return TextRegistry(Text{}, std::move(text), grantedAccess);
}

TextRegistry::Hive TextRegistry::load() const {
    if (!m_path) {
        Hive hive = parse(m_text);
        hive.grantedAccess = m_textAccess;
        return hive;
    }
    std::string text;
    try {
        std::ifstream file(*m_path, std::ios::binary);
        if (!file)
            return {};
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        return {}; // a folder or a file that cannot be read: an empty registry
    }
    Hive hive = parse(text);
#ifndef _WIN32
    hive.grantedAccess = ::access(m_path->c_str(), W_OK) == 0 ? AllAccess : ReadAccess;
#endif
    return hive;
}

TextRegistry::Hive TextRegistry::parse(const std::string& text) {
    Hive hive;
    std::string_view rest = text;
    if (rest.starts_with("\xEF\xBB\xBF"))
        rest.remove_prefix(3);
    auto nextLine = [&rest]() {
        const std::size_t end = rest.find('\n');
        const std::string_view line = trim(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        return line;
    };
    if (nextLine() != "REGEDIT4")
        return hive;

    Values* current = nullptr;
    while (!rest.empty()) {
        // A list of bytes may go on over several lines, each but the last ending in "\".
        std::string line(nextLine());
        while (!line.empty() && line.back() == '\\' && !rest.empty()) {
            line.pop_back();
            line += nextLine();
        }
        if (line.empty() || line.front() == ';')
            continue;

        if (line.front() == '[') {
            current = nullptr;
            if (line.back() != ']')
                continue;
            const std::string_view keyPath = std::string_view(line).substr(1, line.size() - 2);
            if (keyPath.starts_with('-')) {
                if (auto path = localMachinePath(keyPath.substr(1))) {
                    std::erase_if(hive.keys, [&](const auto& key) {
                        return key.first == *path || key.first.starts_with(*path + '\\');
                    });
                }
            } else if (auto path = localMachinePath(keyPath)) {
                current = &hive.keys[*path];
            }
            continue;
        }

        if (!current || (line.front() != '"' && line.front() != '@'))
            continue;
        std::string_view entry = line;
        std::string name;
        if (entry.front() == '@') {
            entry.remove_prefix(1);
        } else if (auto quotedName = quoted(entry)) {
            name = std::move(*quotedName);
        } else {
            continue;
        }
        entry = trim(entry);
        if (!entry.starts_with('='))
            continue;
        entry.remove_prefix(1);
        if (trim(entry) == "-") {
            current->erase(lower(name));
        } else if (auto value = valueData(entry)) {
            (*current)[lower(name)] = Value{value->type, std::move(value->bytes)};
        }
    }
    return hive;
}

std::int32_t TextRegistry::RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t,
                                         std::uint32_t accessMask, Key* result) {
    if (!result)
        return InvalidParameter;
    *result = 0;
    std::string path;
    if (root != LocalMachine) {
        auto parent = m_open.find(root);
        if (parent == m_open.end())
            return InvalidHandle;
        path = parent->second.path;
    }
    if (!keyName.empty())
        path = path.empty() ? lower(keyName) : path + '\\' + lower(keyName);

    const Hive hive = load();
    if (!keyExists(hive.keys, path))
        return FileNotFound;
    const std::uint32_t rights = rightsAskedFor(accessMask, hive.grantedAccess);
    if (rights & ~hive.grantedAccess)
        return AccessDenied;

    OpenKey key{path, {}, rights};
    if (auto found = hive.keys.find(path); found != hive.keys.end())
        key.values = found->second;
    const Key handle = m_nextHandle;
    m_nextHandle += 4;
    m_open.emplace(handle, std::move(key));
    *result = handle;
    return Success;
}

std::int32_t TextRegistry::RegQueryValueExA(Key key, const std::string& valueName,
                                            std::uint32_t* reserved, std::uint32_t* type,
                                            unsigned char* data, std::uint32_t* dataSize) {
    auto open = m_open.find(key);
    if (open == m_open.end())
        return InvalidHandle;
    if (reserved || (data && !dataSize))
        return InvalidParameter;
    if (!(open->second.access & QueryValue))
        return AccessDenied;
    auto found = open->second.values.find(lower(valueName));
    if (found == open->second.values.end())
        return FileNotFound;

    const std::string& bytes = found->second.bytes;
    const auto size = static_cast<std::uint32_t>(bytes.size());
    if (type)
        *type = found->second.type;
    if (data && *dataSize < size) {
        *dataSize = size;
        return MoreData;
    }
    if (data)
        std::memcpy(data, bytes.data(), bytes.size());
    if (dataSize)
        *dataSize = size;
    return Success;
}

std::int32_t TextRegistry::RegCloseKey(Key key) {
    if (key == LocalMachine)
        return Success;
    return m_open.erase(key) ? Success : InvalidHandle;
}

} // namespace platform
