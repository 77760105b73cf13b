#include "results/ResultsFile.h"

#include "platform/Files.h"
#include "platform/RuntimeError.h"

QString ResultsFilePath(ResultsSheet& sheet) {
    return sheet.resultsFolder() + QLatin1Char('\\') + QLatin1String(ResultsFileName);
}

void LoadPreviousTotal(ResultsSheet& sheet) {
    QString text;
    try {
        text = firstItem(platform::readFile(ResultsFilePath(sheet)));
    } catch (const platform::RuntimeError&) {
        // No file yet, or one that cannot be read: the previous total stays empty, reading as 0.
    }
    sheet.setPreviousTotal(text);
}

void SaveResults(ResultsSheet& sheet) {
    const QString path = ResultsFilePath(sheet);
    platform::writeFile(path, resultsLine(sheet.runningTotal()));
}

QByteArray resultsLine(const QString& runningTotal) {
    return '"' + runningTotal.toUtf8() + "\"\r\n";
}

QString firstItem(const QByteArray& contents) {
    qsizetype pos = 0;
    while (pos < contents.size() && (contents[pos] == ' ' || contents[pos] == '\t'))
        ++pos;
    if (pos < contents.size() && contents[pos] == '"') {
        // Without its closing quote the item ends with its line.
        const qsizetype start = pos + 1;
        qsizetype end = start;
        while (end < contents.size() && contents[end] != '"' && contents[end] != '\r' &&
               contents[end] != '\n')
            ++end;
        return QString::fromUtf8(contents.mid(start, end - start));
    }
    qsizetype end = pos;
    while (end < contents.size() && contents[end] != ',' && contents[end] != '\r' &&
           contents[end] != '\n')
        ++end;
    return QString::fromUtf8(contents.mid(pos, end - pos)).trimmed();
}
