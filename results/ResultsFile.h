#pragma once

#include <QByteArray>
#include <QString>

// The one file that carries the running total from one use of the program to the next: one
// quoted item on one line, in the folder that the Options dialog holds at the moment of use.

// What the results file needs of the windows.
class ResultsSheet {
public:
    virtual ~ResultsSheet() = default;
    // The folder text, read afresh at each use.
    virtual QString resultsFolder() = 0;
    // The running total to save.
    virtual QString runningTotal() = 0;
    // The previous total as read at start-up.
    virtual void setPreviousTotal(const QString& text) = 0;
};

inline constexpr const char* ResultsFileName = "quorvexresults.txt";

// The folder text followed by "\quorvexresults.txt"; the backslash is always inserted.
QString ResultsFilePath(ResultsSheet& sheet);

// Reads the first item of the file into the previous total; anything that fails leaves the
// previous total empty. Never raises an error.
void LoadPreviousTotal(ResultsSheet& sheet);

// Writes the running total as the file's one line, replacing the old file only once the new one
// is complete. Raises a run-time error (path not found, permission denied, disk full) on failure,
// leaving the old file whole.
void SaveResults(ResultsSheet& sheet);

// The file's bytes for a running total: a double quote, the text (UTF-8), a double quote, CR LF.
QByteArray resultsLine(const QString& runningTotal);

// The first item of a file's contents: blanks before it skipped; a quoted item runs to the next
// double quote, blanks inside kept; an unquoted one to the next comma or line end, trimmed.
QString firstItem(const QByteArray& contents);
