#include "text/layout.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

namespace korvel::text {
namespace {

// ---------------------------------------------------------------------------
// Decimal digits of a double, rounded half away from zero.

// |v| = 0.digits x 10^exponent; digits has no leading zero and is empty for 0.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// Exact decimal expansion of a double needs at most 767 significant digits.
constexpr int kExactPrecision = 780;
// Enough digits that rounding them again agrees with rounding the exact value,
// except when the dropped part reads exactly "50...0" (checked for below): a
// double is never that close to a tie without being one.
constexpr int kQuickPrecision = 17;

Decimal DigitsOf(std::string_view s) {
    const size_t e = s.find('e');
    Decimal d;
    // "d.ddd" or a lone "d": the first digit, then the ones after the point.
    d.digits.assign(s.data(), 1);
    if (e > 2) d.digits.append(s.data() + 2, e - 2);
    int exponent = 0;
    const char* first = s.data() + e + 1;
    if (*first == '+') ++first;
    std::from_chars(first, s.data() + s.size(), exponent);
    d.exponent = exponent + 1;
    return d;
}

// Digits of |v| in scientific form, correctly rounded from the exact binary
// value to `precision` decimals after the first digit. The quick precision
// goes through to_chars (no big-number arithmetic), the exact one through printf.
Decimal PrintDigits(double a, int precision) {
    if (precision <= kQuickPrecision) {
        char buf[64];
        const auto r =
            std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, precision);
        return DigitsOf(std::string_view(buf, static_cast<size_t>(r.ptr - buf)));
    }
    std::vector<char> buf(static_cast<size_t>(precision) + 32);
    const int n = std::snprintf(buf.data(), buf.size(), "%.*e", precision, a);
    return DigitsOf(std::string_view(buf.data(), static_cast<size_t>(n)));
}

// Rounds the leading `keep` digits in place (half away from zero). `keep` may
// be 0 or negative: the value then rounds to zero or to one unit in the place
// just above its first digit.
void RoundTo(Decimal& d, int keep) {
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const size_t k = static_cast<size_t>(keep);
    if (k >= d.digits.size()) {
        d.digits.append(k - d.digits.size(), '0');
        return;
    }
    const bool up = d.digits[k] >= '5';
    d.digits.resize(k);
    if (!up) return;
    size_t i = k;
    while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
    if (i > 0) {
        ++d.digits[i - 1];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
    }
}

// |a| (finite, nonzero) rounded half away from zero. `keep` says how many
// leading digits survive, given the value's decimal exponent.
template <typename KeepFn>
Decimal RoundedDigits(double a, KeepFn keep) {
    Decimal d = PrintDigits(a, kQuickPrecision);
    const int k = keep(d.exponent);
    bool exact = false;
    if (k >= static_cast<int>(d.digits.size())) {
        exact = true;
    } else if (k >= 0 && d.digits[static_cast<size_t>(k)] == '5' &&
               d.digits.find_first_not_of('0', static_cast<size_t>(k) + 1) == std::string::npos) {
        // A printed "50...0" tail may be an exact tie or a rounded-up "49...9".
        exact = true;
    }
    if (exact) d = PrintDigits(a, kExactPrecision);
    RoundTo(d, keep(d.exponent));
    return d;
}

std::string Stars(int width) {
    return std::string(static_cast<size_t>(width), '*');
}

std::string RightAlign(const std::string& s, int width) {
    if (width <= 0) return s;
    if (static_cast<int>(s.size()) > width) return Stars(width);
    return std::string(static_cast<size_t>(width) - s.size(), ' ') + s;
}

// Infinity and NaN the way gfortran writes them in an F or E field.
std::string NonFinite(double v, int width) {
    if (width == 0) return std::isnan(v) ? "NaN" : (std::signbit(v) ? "-Inf" : "Inf");
    if (width < 3) return Stars(width);
    std::string s;
    if (std::isnan(v)) {
        s = "NaN";
    } else if (std::signbit(v)) {
        if (width == 3) return Stars(width);
        s = width > 8 ? "-Infinity" : "-Inf";
    } else {
        s = width > 7 ? "Infinity" : "Inf";
    }
    return RightAlign(s, width);
}

// Fw.d; w = 0 gives the narrowest field.
std::string FixedField(double v, int width, int decimals) {
    if (!std::isfinite(v)) return NonFinite(v, width);
    // |v| >= 2^(exponent-1) has more than (exponent-1)*log10(2) digits before the
    // point: skip the digit work when they alone overflow the field.
    int exponent = 0;
    if (v != 0.0) std::frexp(v, &exponent);
    if (width > 0 && (exponent - 1) * 0.30103 > width) return Stars(width);
    std::string digits;  // round(|v| * 10^decimals), empty for zero
    if (v != 0.0) {
        digits = RoundedDigits(std::fabs(v), [decimals](int exp) { return exp + decimals; }).digits;
    }
    const size_t d = static_cast<size_t>(decimals);
    std::string whole;
    std::string fraction;
    if (digits.size() > d) {
        whole = digits.substr(0, digits.size() - d);
        fraction = digits.substr(digits.size() - d);
    } else {
        fraction = std::string(d - digits.size(), '0') + digits;
    }
    // gfortran keeps the sign of a negative value that rounds to zero.
    const std::string sign = std::signbit(v) ? "-" : "";
    std::string s = sign + whole + "." + fraction;
    if (whole.empty()) {
        // The zero before the point is optional and goes first when space is short,
        // unless it is the only digit.
        const bool needed = decimals == 0;
        if (needed || width == 0 || static_cast<int>(s.size()) < width) {
            s = sign + "0." + fraction;
        }
    }
    return RightAlign(s, width);
}

// Ew.d and Dw.d: 0.ddddE+xx, or +xxx without the letter beyond two digits.
std::string ExponentField(double v, int width, int digits, char letter) {
    if (!std::isfinite(v)) return NonFinite(v, width);
    Decimal d;
    if (v == 0.0) {
        d.digits.assign(static_cast<size_t>(digits), '0');
    } else {
        d = RoundedDigits(std::fabs(v), [digits](int) { return digits; });
        d.digits.resize(static_cast<size_t>(digits));  // a carry adds a trailing 0
    }
    const int e = d.exponent;
    const int mag = std::abs(e);
    if (mag > 999) return Stars(width);
    std::string exp;
    if (mag > 99) {
        exp = (e < 0 ? "-" : "+") + std::to_string(mag);
    } else {
        exp = std::string(1, letter) + (e < 0 ? "-" : "+") + (mag < 10 ? "0" : "") +
              std::to_string(mag);
    }
    const std::string sign = std::signbit(v) ? "-" : "";
    std::string s = sign + "." + d.digits + exp;
    if (width == 0 || static_cast<int>(s.size()) < width) s = sign + "0." + d.digits + exp;
    return RightAlign(s, width);
}

// Iw.m; m < 0 means no minimum digit count.
std::string IntegerField(long long v, int width, int minDigits) {
    // Fortran writes a zero under Iw.0 as blanks only.
    if (v == 0 && minDigits == 0) return std::string(static_cast<size_t>(width), ' ');
    char buf[24];
    const unsigned long long mag =
        v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    const auto r = std::to_chars(buf, buf + sizeof buf, mag);
    std::string digits(buf, r.ptr);
    if (minDigits > 0 && static_cast<int>(digits.size()) < minDigits) {
        digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
    }
    return RightAlign((v < 0 ? "-" : "") + digits, width);
}

// ---------------------------------------------------------------------------
// Layout parsing.

}  // namespace

enum class Op { Blanks, Literal, NewLine, I, F, E, D, A, L };

struct Item {
    Op op;
    int width = -1;         // -1: none given (A only)
    int extra = -1;         // decimals, digits or minimum digits; -1: none given
    std::string text = {};  // literal text or run of blanks

    bool TakesValue() const { return op != Op::Blanks && op != Op::Literal && op != Op::NewLine; }
};

// Items of the layout with every repeat written out, plus where reversion
// restarts: the first item of the last top-level group.
struct LayoutProgram {
    std::vector<Item> items;
    size_t restart = 0;
    bool restartTakesValue = false;  // an item from `restart` on takes a value
};

namespace {

// Repeat counts multiply; this keeps a typo like 9999(9999(...)) from eating memory.
constexpr size_t kMaxItems = 1'000'000;

[[noreturn]] void Fail(std::string_view layout, size_t pos, std::string_view what) {
    throw std::invalid_argument("layout " + std::string(layout) + ": " + std::string(what) +
                                " at column " + std::to_string(pos + 1));
}

class Parser {
  public:
    explicit Parser(std::string_view layout) : src_(layout) {}

    LayoutProgram Parse() {
        size_t end = src_.size();
        SkipBlanks();
        const size_t first = pos_;
        while (end > first && IsBlank(src_[end - 1])) --end;
        // One pair of parentheses around the whole layout is optional.
        if (first < end && src_[first] == '(' && MatchingParen(first) == end - 1) {
            ++pos_;
            --end;
        }
        end_ = end;
        LayoutProgram prog;
        ParseList(prog, /*topLevel=*/true);
        if (pos_ != end_) Fail(src_, pos_, "unbalanced ')'");
        return prog;
    }

  private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    bool AtEnd() const { return pos_ >= end_; }
    char Peek() const { return AtEnd() ? '\0' : src_[pos_]; }

    void SkipBlanks() {
        while (pos_ < src_.size() && IsBlank(src_[pos_])) ++pos_;
    }

    // Position of the ')' closing the '(' at `open`, skipping quoted text;
    // npos when unbalanced.
    size_t MatchingParen(size_t open) const {
        int depth = 0;
        char quote = 0;
        for (size_t i = open; i < src_.size(); ++i) {
            const char c = src_[i];
            if (quote) {
                if (c == quote) quote = 0;  // a doubled quote closes and reopens
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                return i;
            }
        }
        return std::string_view::npos;
    }

    // Unsigned number at pos_, or -1 when there is none.
    int Number() {
        if (AtEnd() || !IsDigit(Peek())) return -1;
        long n = 0;
        while (!AtEnd() && IsDigit(Peek())) {
            n = n * 10 + (Peek() - '0');
            if (n > 1'000'000) Fail(src_, pos_, "number too large");
            ++pos_;
        }
        return static_cast<int>(n);
    }

    void Append(LayoutProgram& prog, Item item) {
        if (prog.items.size() >= kMaxItems) Fail(src_, pos_, "layout too long");
        prog.items.push_back(std::move(item));
    }

    // Items up to the matching ')' or the end; commas between items are optional.
    void ParseList(LayoutProgram& prog, bool topLevel) {
        bool any = false;
        bool afterComma = false;
        while (true) {
            SkipBlanks();
            if (AtEnd() || Peek() == ')') {
                if (afterComma) Fail(src_, pos_, "missing item after ','");
                return;
            }
            if (Peek() == ',') {
                if (!any || afterComma) Fail(src_, pos_, "empty item");
                ++pos_;
                afterComma = true;
                continue;
            }
            ParseItem(prog, topLevel);
            any = true;
            afterComma = false;
        }
    }

    void ParseItem(LayoutProgram& prog, bool topLevel) {
        const size_t start = pos_;
        const int count = Number();
        if (count == 0) Fail(src_, start, "zero repeat count");
        SkipBlanks();
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(Peek())));
        if (c == '(') {
            const size_t groupStart = prog.items.size();
            ++pos_;
            LayoutProgram group;
            ParseList(group, /*topLevel=*/false);
            if (Peek() != ')') Fail(src_, pos_, "missing ')'");
            ++pos_;
            if (topLevel) prog.restart = groupStart;
            for (int r = 0; r < (count < 0 ? 1 : count); ++r) {
                for (const Item& it : group.items) Append(prog, it);
            }
            return;
        }
        if (c == '"' || c == '\'') {
            if (count >= 0) Fail(src_, start, "repeat count before text");
            Append(prog, Item{Op::Literal, -1, -1, QuotedText()});
            return;
        }
        const int times = count < 0 ? 1 : count;
        if (c == 'X') {
            ++pos_;
            Append(prog, Item{Op::Blanks, -1, -1, std::string(static_cast<size_t>(times), ' ')});
            return;
        }
        if (c == '/') {
            ++pos_;
            for (int r = 0; r < times; ++r) Append(prog, Item{Op::NewLine});
            return;
        }
        Item item{Op::I};
        switch (c) {
            case 'I':
                item.op = Op::I;
                break;
            case 'F':
                item.op = Op::F;
                break;
            case 'E':
                item.op = Op::E;
                break;
            case 'D':
                item.op = Op::D;
                break;
            case 'A':
                item.op = Op::A;
                break;
            case 'L':
                item.op = Op::L;
                break;
            default:
                Fail(src_, pos_, "unknown item");
        }
        ++pos_;
        item.width = Number();
        if (Peek() == '.') {
            ++pos_;
            item.extra = Number();
            if (item.extra < 0) Fail(src_, pos_, "missing digits after '.'");
        }
        Check(item, start);
        for (int r = 0; r < times; ++r) Append(prog, item);
    }

    void Check(const Item& item, size_t at) {
        switch (item.op) {
            case Op::I:
                if (item.width < 0) Fail(src_, at, "I needs a width");
                if (item.extra > item.width && item.width > 0) Fail(src_, at, "Iw.m with m > w");
                break;
            case Op::F:
                if (item.width < 0 || item.extra < 0) Fail(src_, at, "F needs w.d");
                break;
            case Op::E:
            case Op::D:
                if (item.width < 1 || item.extra < 1) Fail(src_, at, "E and D need w.d, d >= 1");
                break;
            case Op::A:
                if (item.width == 0 || item.extra >= 0) Fail(src_, at, "A takes a width only");
                break;
            case Op::L:
                if (item.width < 1 || item.extra >= 0) Fail(src_, at, "L needs a width");
                break;
            default:
                break;
        }
    }

    // Quoted text at pos_; a doubled quote stands for one.
    std::string QuotedText() {
        const char quote = Peek();
        const size_t start = pos_++;
        std::string text;
        while (true) {
            if (pos_ >= src_.size()) Fail(src_, start, "unterminated text");
            const char c = src_[pos_++];
            if (c != quote) {
                text += c;
            } else if (pos_ < src_.size() && src_[pos_] == quote) {
                text += quote;
                ++pos_;
            } else {
                break;
            }
        }
        if (pos_ > end_) Fail(src_, start, "unterminated text");
        return text;
    }

    std::string_view src_;
    size_t pos_ = 0;
    size_t end_ = 0;
};

[[noreturn]] void WrongKind(const Item& item, const Value& value) {
    static constexpr const char* kOps = " \"/IFEDAL";
    static constexpr const char* kKinds[] = {"an integer", "a real", "text", "a logical"};
    throw std::invalid_argument(std::string(kKinds[static_cast<int>(value.kind())]) +
                                " value for a " + kOps[static_cast<int>(item.op)] + " item");
}

double RealOf(const Item& item, const Value& value) {
    if (value.kind() == Value::Kind::Real) return value.real();
    if (value.kind() == Value::Kind::Integer) return static_cast<double>(value.integer());
    WrongKind(item, value);
}

std::string FormatValue(const Item& item, const Value& value) {
    switch (item.op) {
        case Op::I:
            if (value.kind() != Value::Kind::Integer) WrongKind(item, value);
            return IntegerField(value.integer(), item.width, item.extra);
        case Op::F:
            return FixedField(RealOf(item, value), item.width, item.extra);
        case Op::E:
            return ExponentField(RealOf(item, value), item.width, item.extra, 'E');
        case Op::D:
            return ExponentField(RealOf(item, value), item.width, item.extra, 'D');
        case Op::A: {
            if (value.kind() != Value::Kind::Text) WrongKind(item, value);
            const std::string& t = value.text();
            if (item.width < 0) return t;
            const size_t w = static_cast<size_t>(item.width);
            // Fortran output: short text is right-justified, long text keeps its left part.
            return t.size() >= w ? t.substr(0, w) : std::string(w - t.size(), ' ') + t;
        }
        case Op::L:
            if (value.kind() != Value::Kind::Logical) WrongKind(item, value);
            return std::string(static_cast<size_t>(item.width) - 1, ' ') +
                   (value.integer() ? 'T' : 'F');
        default:
            return {};
    }
}

}  // namespace

Layout::Layout(std::string_view layout) : text_(layout) {
    LayoutProgram prog = Parser(layout).Parse();
    for (size_t i = prog.restart; i < prog.items.size(); ++i) {
        prog.restartTakesValue = prog.restartTakesValue || prog.items[i].TakesValue();
    }
    program_ = std::make_shared<const LayoutProgram>(std::move(prog));
}

std::string Layout::Format(std::span<const Value> values) const {
    const LayoutProgram& prog = *program_;
    const std::vector<Item>& items = prog.items;

    std::string out;
    size_t next = 0;  // next value
    size_t pos = 0;
    while (true) {
        if (pos == items.size()) {
            if (next == values.size()) break;
            // Values left over would otherwise loop forever.
            if (!prog.restartTakesValue) {
                throw std::invalid_argument("layout " + text_ +
                                            " has no item for the values left over");
            }
            out += '\n';
            pos = prog.restart;
            continue;
        }
        const Item& item = items[pos++];
        switch (item.op) {
            case Op::Blanks:
            case Op::Literal:
                out += item.text;
                break;
            case Op::NewLine:
                out += '\n';
                break;
            default:
                if (next == values.size()) {
                    out += '\n';
                    return out;
                }
                out += FormatValue(item, values[next++]);
        }
    }
    out += '\n';
    return out;
}

std::string Layout::Format(std::initializer_list<Value> values) const {
    return Format(std::span<const Value>(values.begin(), values.size()));
}

std::string FormatLayout(std::string_view layout, std::span<const Value> values) {
    return Layout(layout).Format(values);
}

std::string FormatLayout(std::string_view layout, std::initializer_list<Value> values) {
    return FormatLayout(layout, std::span<const Value>(values.begin(), values.size()));
}

std::string FormatE(double v, int width, int digits) {
    if (width < 1 || digits < 1) throw std::invalid_argument("FormatE needs width and digits >= 1");
    return ExponentField(v, width, digits, 'E');
}

std::string FormatF(double v, int width, int decimals) {
    if (width < 0 || decimals < 0) throw std::invalid_argument("FormatF: negative width");
    return FixedField(v, width, decimals);
}

std::string FormatI(long long v, int width) {
    if (width < 0) throw std::invalid_argument("FormatI: negative width");
    return IntegerField(v, width, -1);
}

std::string FreeFormatLine(std::initializer_list<Value> values) {
    std::string out;
    char buf[32];
    for (const Value& v : values) {
        out += ' ';
        switch (v.kind()) {
            case Value::Kind::Integer: {
                const auto r = std::to_chars(buf, buf + sizeof buf, v.integer());
                out.append(buf, r.ptr);
                break;
            }
            case Value::Kind::Real: {
                // Shortest text that reads back as the same double.
                const auto r = std::to_chars(buf, buf + sizeof buf, v.real());
                out.append(buf, r.ptr);
                break;
            }
            case Value::Kind::Text:
                out += v.text();
                break;
            case Value::Kind::Logical:
                out += v.integer() ? 'T' : 'F';
                break;
        }
    }
    out += '\n';
    return out;
}

}  // namespace korvel::text
