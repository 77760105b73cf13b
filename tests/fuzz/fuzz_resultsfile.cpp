// The results file's item reader on any contents, and the round trip of what Save writes.
#include "results/ResultsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// Whether the bytes are well-formed UTF-8: no overlong forms, surrogates or values beyond
// U+10FFFF.
bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t value = lead;
        if (lead >= 0xF8)
            return false;
        if (lead >= 0xF0)
            length = 4, value = lead & 0x07;
        else if (lead >= 0xE0)
            length = 3, value = lead & 0x0F;
        else if (lead >= 0xC0)
            length = 2, value = lead & 0x1F;
        else if (lead >= 0x80)
            return false;
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (c & 0x3F);
        }
        static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view contents(reinterpret_cast<const char*>(data), size);
    const std::string item = firstItem(contents);
    require(isUtf8(item));

    // Nothing after the first line takes part.
    const std::size_t lineEnd = contents.find_first_of("\r\n");
    if (lineEnd != std::string_view::npos)
        require(firstItem(contents.substr(0, lineEnd)) == item);
    require(item.find_first_of("\r\n") == std::string::npos);

    // Whatever Save writes reads back as the same text, unless the text holds a quote or a
    // line end, which a one-line quoted item cannot carry, or is no UTF-8, which no field holds.
    if (isUtf8(contents) && contents.find_first_of("\"\r\n") == std::string_view::npos)
        require(firstItem(resultsLine(std::string(contents))) == contents);
    return 0;
}
