// The results file's item reader on any contents, and the round trip of what Save writes.
#include "results/ResultsFile.h"

#include <cstdint>
#include <cstdlib>

namespace {
void require(bool condition) {
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray contents(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString item = firstItem(contents);

    // Nothing after the first line takes part.
    qsizetype lineEnd = contents.indexOf('\n');
    const qsizetype carriageReturn = contents.indexOf('\r');
    if (carriageReturn >= 0 && (lineEnd < 0 || carriageReturn < lineEnd))
        lineEnd = carriageReturn;
    if (lineEnd >= 0)
        require(firstItem(contents.left(lineEnd)) == item);
    require(!item.contains(QLatin1Char('\n')) && !item.contains(QLatin1Char('\r')));

    // Whatever Save writes reads back as the same text, unless the text holds a quote or a
    // line end, which a one-line quoted item cannot carry.
    const QString text = QString::fromUtf8(contents);
    if (!text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        require(firstItem(resultsLine(text)) == text);
    return 0;
}
