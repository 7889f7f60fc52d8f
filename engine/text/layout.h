// Fortran-style layout writer for the report, the run notes and the
// intermediate files. A layout is a parenthesised list of edit items:
//   nX  "text"  Iw  Iw.m  Fw.d  Ew.d  Dw.d  Aw  A  L1  /  n(...)  nEw.d  nIw
// Items are written left to right; "/" and the end of the list end a line.
// When the values run out, output stops before the next value item; when the
// list is used up while values remain, a new line starts and the list starts
// again from its last top-level group (or from its beginning when it has none).
// A number too wide for its field fills the field with '*'.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace korvel::text {

// One value for a layout's I, F, E, D, A or L item.
class Value {
  public:
    enum class Kind { Integer, Real, Text, Logical };

    Value(int v) : kind_(Kind::Integer), integer_(v) {}
    Value(long v) : kind_(Kind::Integer), integer_(v) {}
    Value(long long v) : kind_(Kind::Integer), integer_(v) {}
    Value(unsigned v) : kind_(Kind::Integer), integer_(v) {}
    Value(unsigned long v) : kind_(Kind::Integer), integer_(static_cast<long long>(v)) {}
    Value(double v) : kind_(Kind::Real), real_(v) {}
    Value(float v) : kind_(Kind::Real), real_(v) {}
    Value(const char* v) : kind_(Kind::Text), text_(v) {}
    Value(std::string_view v) : kind_(Kind::Text), text_(v) {}
    Value(const std::string& v) : kind_(Kind::Text), text_(v) {}
    Value(bool v) : kind_(Kind::Logical), integer_(v ? 1 : 0) {}

    Kind kind() const { return kind_; }
    long long integer() const { return integer_; }
    double real() const { return real_; }
    const std::string& text() const { return text_; }

  private:
    Kind kind_;
    long long integer_ = 0;
    double real_ = 0.0;
    std::string text_;
};

struct LayoutProgram;

// A layout parsed once, for lines written many times (a function-local
// `static const Layout` keeps the parse out of the loop).
class Layout {
  public:
    // Throws std::invalid_argument for a malformed layout.
    explicit Layout(std::string_view layout);

    // The formatted lines, each ended by '\n', as FormatLayout gives them.
    std::string Format(std::span<const Value> values) const;
    std::string Format(std::initializer_list<Value> values) const;

  private:
    std::string text_;
    std::shared_ptr<const LayoutProgram> program_;
};

// Returns the formatted lines, each ended by '\n'. Throws std::invalid_argument
// for a malformed layout or a value of the wrong kind for its item (both are
// programming errors, never caused by input data).
std::string FormatLayout(std::string_view layout, std::span<const Value> values);
std::string FormatLayout(std::string_view layout, std::initializer_list<Value> values = {});

// Single-item helpers used where a whole layout would be noise.
std::string FormatE(double v, int width, int digits);    // Ew.d
std::string FormatF(double v, int width, int decimals);  // Fw.d
std::string FormatI(long long v, int width);             // Iw

// Free-format line for the plot data file: a leading blank, then each number
// after a blank; integers plainly, reals with full double precision.
std::string FreeFormatLine(std::initializer_list<Value> values);

}  // namespace korvel::text
