#include "text/record_reader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

namespace korvel::text {
namespace {

bool IsSeparator(char c) {
    // CR anywhere counts as a blank, so CR LF files and stray CRs read alike.
    return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\f' || c == '\v';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The word as it goes into a message: junk bytes shown as '?', and a runaway
// word cut short so one bad line cannot swamp the report.
std::string Printable(std::string_view word) {
    constexpr size_t kMax = 40;
    std::string s;
    for (size_t i = 0; i < word.size() && i < kMax; ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        s += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    if (word.size() > kMax) s += "...";
    return s;
}

// A decimal real: [sign] digits [. digits] [(E|D) [sign] digits], at least one
// mantissa digit. Hex, inf and nan are not numbers in a data file.
std::optional<double> ParseReal(std::string_view w) {
    size_t i = 0;
    bool negative = false;
    if (i < w.size() && (w[i] == '+' || w[i] == '-')) negative = w[i++] == '-';
    const size_t mantissaStart = i;
    size_t intDigits = 0;
    size_t firstNonZero = std::string_view::npos;  // index among mantissa digits
    size_t digitCount = 0;
    while (i < w.size() && IsDigit(w[i])) {
        if (w[i] != '0' && firstNonZero == std::string_view::npos) firstNonZero = digitCount;
        ++digitCount;
        ++intDigits;
        ++i;
    }
    if (i < w.size() && w[i] == '.') {
        ++i;
        while (i < w.size() && IsDigit(w[i])) {
            if (w[i] != '0' && firstNonZero == std::string_view::npos) firstNonZero = digitCount;
            ++digitCount;
            ++i;
        }
    }
    if (digitCount == 0) return std::nullopt;
    const size_t mantissaEnd = i;
    long exponent = 0;
    if (i < w.size()) {
        const char e = w[i];
        if (e != 'e' && e != 'E' && e != 'd' && e != 'D') return std::nullopt;
        ++i;
        bool expNegative = false;
        if (i < w.size() && (w[i] == '+' || w[i] == '-')) expNegative = w[i++] == '-';
        if (i == w.size()) return std::nullopt;
        for (; i < w.size(); ++i) {
            if (!IsDigit(w[i])) return std::nullopt;
            if (exponent < 100'000) exponent = exponent * 10 + (w[i] - '0');
        }
        if (expNegative) exponent = -exponent;
    }
    if (firstNonZero == std::string_view::npos) return negative ? -0.0 : 0.0;

    // from_chars knows neither '+' nor the D exponent: hand it a clean copy.
    std::string text(w.substr(mantissaStart, mantissaEnd - mantissaStart));
    text += 'e';
    text += std::to_string(exponent);
    double value = 0.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Too small to hold reads as zero; too large is an error.
        const long magnitude =
            exponent + static_cast<long>(intDigits) - static_cast<long>(firstNonZero);
        if (magnitude > 0) return std::nullopt;
        value = 0.0;
    } else if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

void RecordReader::BeginRecord(std::string_view name) {
    record_ = std::string(name);
    lineOpen_ = false;
}

std::string RecordReader::ReadLine(std::string_view name) {
    BeginRecord(name);
    if (!FetchLine()) throw ReadError("END OF FILE IN RECORD " + record_);
    lineOpen_ = false;
    return line_;
}

bool RecordReader::FetchLine() {
    if (!std::getline(in_, line_)) {
        line_.clear();
        pos_ = 0;
        return false;
    }
    ++lineNumber_;
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    // A byte-order mark left by a Windows editor is not part of the data.
    if (lineNumber_ == 1 && line_.starts_with("\xEF\xBB\xBF")) line_.erase(0, 3);
    pos_ = 0;
    return true;
}

std::string RecordReader::NextWord() {
    if (!lineOpen_) {
        if (!FetchLine()) throw ReadError("END OF FILE IN RECORD " + record_);
        lineOpen_ = true;
    }
    while (true) {
        while (pos_ < line_.size() && IsSeparator(line_[pos_])) ++pos_;
        if (pos_ < line_.size()) break;
        if (!FetchLine()) throw ReadError("END OF FILE IN RECORD " + record_);
    }
    const size_t start = pos_;
    while (pos_ < line_.size() && !IsSeparator(line_[pos_])) ++pos_;
    return line_.substr(start, pos_ - start);
}

int32_t RecordReader::ReadInt() {
    const std::string word = NextWord();
    const auto invalid = [&] {
        return ReadError("INVALID NUMBER '" + Printable(word) + "' IN RECORD " + record_);
    };
    std::string_view digits(word);
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos) {
        // from_chars takes '-' but not '+'.
        const std::string_view signedDigits = word.front() == '+' ? digits : std::string_view(word);
        int32_t value = 0;
        const auto r =
            std::from_chars(signedDigits.data(), signedDigits.data() + signedDigits.size(), value);
        if (r.ec != std::errc()) throw invalid();
        return value;
    }
    // Another program may write a count as "3.0": take it when it is whole.
    const std::optional<double> real = ParseReal(word);
    if (real && std::trunc(*real) == *real && *real >= std::numeric_limits<int32_t>::min() &&
        *real <= std::numeric_limits<int32_t>::max()) {
        return static_cast<int32_t>(*real);
    }
    throw invalid();
}

double RecordReader::ReadReal() {
    const std::string word = NextWord();
    const std::optional<double> value = ParseReal(word);
    if (!value) throw ReadError("INVALID NUMBER '" + Printable(word) + "' IN RECORD " + record_);
    return *value;
}

}  // namespace korvel::text
