#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The one file that carries the running total from one use of the program to the next: one
// quoted item on one line, in the folder that the Options dialog holds at the moment of use.
// Texts are UTF-8.

// What the results file needs of the windows.
class ResultsSheet {
public:
    virtual ~ResultsSheet() = default;
    // The folder text, read afresh at each use.
    virtual std::string resultsFolder() = 0;
    // The running total to save.
    virtual std::string runningTotal() = 0;
    // The previous total as read at start-up.
    virtual void setPreviousTotal(const std::string& text) = 0;
};

inline constexpr const char* ResultsFileName = "quorvexresults.txt";

// How much of the file start-up reads: a first item that does not end within it reads as empty,
// so that a huge file cannot hold start-up up.
inline constexpr std::size_t ResultsReadLimit = 4096;

// The folder text followed by "\quorvexresults.txt"; the backslash is always inserted.
std::string ResultsFilePath(ResultsSheet& sheet);

// Reads the first item of the file into the previous total; anything that fails leaves the
// previous total empty, and so does anything but a regular file. Never raises an error and never
// waits.
void LoadPreviousTotal(ResultsSheet& sheet);

// Writes the running total as the file's one line, replacing the old file only once the new one
// is complete where the folder allows a new file, else in place. Raises a run-time error (path
// not found, permission denied, disk full) on failure.
void SaveResults(ResultsSheet& sheet);

// The file's bytes for a running total: a double quote, the text, a double quote, CR LF.
std::string resultsLine(const std::string& runningTotal);

// The first item of a file's contents: blanks before it skipped; a quoted item runs to the next
// double quote or the end of its line, blanks inside kept; an unquoted one to the next comma or
// line end, without its surrounding blanks. Bytes that are not UTF-8 become U+FFFD.
std::string firstItem(std::string_view contents);
