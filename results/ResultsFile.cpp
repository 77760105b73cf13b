#include "results/ResultsFile.h"

#include "platform/Files.h"
#include "platform/RuntimeError.h"

namespace {

// The first item's bytes, and whether something ended it within the contents (a closing quote, a
// comma, a line end) rather than the contents running out.
struct Item {
    std::string_view bytes;
    bool ended = false;
};

Item scanFirstItem(std::string_view contents) {
    const std::size_t start = contents.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    if (contents[start] == '"') {
        // Without its closing quote the item ends with its line.
        const std::size_t end = contents.find_first_of("\"\r\n", start + 1);
        return {contents.substr(start + 1, end == std::string_view::npos ? end : end - start - 1),
                end != std::string_view::npos};
    }
    const std::size_t end = contents.find_first_of(",\r\n", start);
    std::string_view item =
        contents.substr(start, end == std::string_view::npos ? end : end - start);
    item.remove_suffix(item.size() - (item.find_last_not_of(" \t") + 1));
    return {item, end != std::string_view::npos};
}

// The bytes as UTF-8 text: each maximal run of bytes that cannot start or continue a character
// becomes one U+FFFD, so that whatever the file held can be shown.
std::string validUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text += bytes[i++];
            continue;
        }
        // The length of the sequence the lead byte starts, and the range of its second byte,
        // which excludes overlong forms, surrogates and values beyond U+10FFFF.
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;
            high = lead == 0xED ? 0x9F : high;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high;
        }
        std::size_t n = 1;
        while (n < length && i + n < bytes.size()) {
            const auto c = static_cast<unsigned char>(bytes[i + n]);
            if (c < (n == 1 ? low : 0x80) || c > (n == 1 ? high : 0xBF))
                break;
            ++n;
        }
        if (length != 0 && n == length)
            text += bytes.substr(i, n);
        else
            text += "\xEF\xBF\xBD";
        i += n;
    }
    return text;
}

} // namespace

std::string ResultsFilePath(ResultsSheet& sheet) {
    return sheet.resultsFolder() + '\\' + ResultsFileName;
}

void LoadPreviousTotal(ResultsSheet& sheet) {
    std::string text;
    try {
        // One byte beyond the limit tells a file that ends within it from one that goes on.
        const std::string start =
            platform::readFileStart(ResultsFilePath(sheet), ResultsReadLimit + 1);
        if (start.size() <= ResultsReadLimit) {
            text = firstItem(start);
        } else {
            const Item item = scanFirstItem(std::string_view(start).substr(0, ResultsReadLimit));
            if (item.ended)
                text = validUtf8(item.bytes);
        }
    } catch (const platform::RuntimeError&) {
        // No file yet, or one that cannot be read: the previous total stays empty, reading as 0.
    }
    sheet.setPreviousTotal(text);
}

void SaveResults(ResultsSheet& sheet) {
    platform::writeFile(ResultsFilePath(sheet), resultsLine(sheet.runningTotal()));
}

std::string resultsLine(const std::string& runningTotal) {
    return '"' + runningTotal + "\"\r\n";
}

std::string firstItem(std::string_view contents) {
    return validUtf8(scanFirstItem(contents).bytes);
}
