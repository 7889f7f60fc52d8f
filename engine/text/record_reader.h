// Free-format record reader for the data file and the intermediate files.
// Numbers are separated by blanks, tabs, commas or line ends. Every record
// starts on a new line, takes as many numbers as it needs (continuing onto
// later lines, blank lines skipped) and leaves the rest of its last line
// unread. Input it cannot take ends in a ReadError that names the record.
#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korvel::text {

// What went wrong, in the report's capitals, e.g.
// "END OF FILE IN RECORD WALL" or "INVALID NUMBER 'X1' IN RECORD WALL".
class ReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class RecordReader {
  public:
    explicit RecordReader(std::istream& in) : in_(in) {}

    // Starts the record `name`: its first number comes from the next line.
    void BeginRecord(std::string_view name);

    // Reads the next line whole, as text (trailing CR removed). Starts a record.
    std::string ReadLine(std::string_view name);

    // Next number of the current record. ReadInt takes an optionally signed
    // run of digits within the 32-bit range (a whole real such as "3.0" written
    // by another program is taken too); ReadReal any decimal real
    // ("1.5", "-2E-5", "3.", ".5", also Fortran's "1.0D+03").
    int32_t ReadInt();
    double ReadReal();

    // 1-based number of the line last read, for messages.
    long LineNumber() const { return lineNumber_; }

  private:
    std::string NextWord();
    bool FetchLine();  // next physical line into line_; false at end of file

    std::istream& in_;
    std::string record_ = "DATA";
    std::string line_;
    size_t pos_ = 0;
    bool lineOpen_ = false;  // false: the next word must come from a new line
    long lineNumber_ = 0;
};

}  // namespace korvel::text
