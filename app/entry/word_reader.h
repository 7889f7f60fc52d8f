// Reads a data file as lines of words separated by blanks or TABs. Numbers are
// read word by word across lines, with "." as decimal separator; blank lines
// between numbers are skipped. Errors are EInOutError with texts that name the
// line (from 1) and the word's position on it (from 1).
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace korvel {

// One line of the file: its raw text and its words.
struct TWordContainer {
    QString Text;
    QStringList Words;
};

// Files larger than this are refused before they are read (bytes).
inline constexpr qint64 kMaxDataFileBytes = 32LL * 1024 * 1024;

class TWordReader {
  public:
    // Reads the whole file. Bytes that are not valid UTF-8 are read as Windows-1252
    // (older data files). Throws EInOutError when the file cannot be read.
    explicit TWordReader(const QString& file_name);

    // Reads lines from text already in memory (lines end in LF, CR LF or CR).
    static TWordReader FromText(const QString& text);

    // Raw text of the next line not yet touched by a word read; the rest of a
    // partly read line is dropped. Blank lines are returned like any other.
    QString ReadLine();
    long double ReadReal();
    int ReadInteger();
    // A row count: an integer from 0 to max_count (0 = no limit). A larger or
    // negative count is refused before the caller makes any row.
    int ReadCount(int max_count);

    bool AtEnd() const { return line_ >= static_cast<int>(lines_.size()); }
    int LineCount() const { return static_cast<int>(lines_.size()); }
    // Current line number (from 1), for messages of the callers.
    int LineNumber() const { return line_ + 1; }
    // Line (from 1) of the word read last, for messages about a value read.
    int LastWordLine() const { return last_line_ + 1; }

  private:
    TWordReader() = default;
    void SetText(const QString& text);
    // Moves to the next unread word, skipping used-up and blank lines; throws
    // "This file either invalid or incomplete." past the last line.
    const QString& NextWord();
    QString Position() const;

    std::vector<TWordContainer> lines_;
    int line_ = 0;  // index of the current line
    int word_ = 0;  // index of the next word within the current line
    // Position of the word last returned by NextWord, for messages.
    int last_line_ = 0;
    int last_word_ = 0;
};

// The lines of a text whose lines end in LF, CR LF or a lone CR, without their
// ends; a final line end opens no empty line.
QStringList SplitLines(const QString& text);

// Decodes file bytes: UTF-8 when valid, else Windows-1252.
QString DecodeFileText(const QByteArray& bytes);

}  // namespace korvel
