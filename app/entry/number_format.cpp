#include "entry/number_format.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace korvel {

std::string FormatGeneralStd(long double value, int digits) {
    if (value == 0.0L || !std::isfinite(value)) {
        // Non-finite values never reach a formatter: the evaluator refuses them.
        return value == 0.0L ? "0" : (std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF"));
    }
    char buffer[128];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, digits - 1);
    const std::string text(buffer, result.ptr);
    // text is "[-]d[.ddd]e(+|-)xx"
    const bool negative = text[0] == '-';
    const size_t e_pos = text.find('e');
    std::string mantissa;
    for (size_t i = negative ? 1 : 0; i < e_pos; ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) mantissa += text[i];
    }
    const int exponent = std::stoi(text.substr(e_pos + 1));
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= -4 && exponent < digits) {
        if (exponent >= 0) {
            const size_t int_digits = static_cast<size_t>(exponent) + 1;
            if (mantissa.size() <= int_digits) {
                out += mantissa + std::string(int_digits - mantissa.size(), '0');
            } else {
                out += mantissa.substr(0, int_digits) + "." + mantissa.substr(int_digits);
            }
        } else {
            out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
        }
    } else {
        out += mantissa.substr(0, 1);
        if (mantissa.size() > 1) out += "." + mantissa.substr(1);
        out += "E" + std::to_string(exponent);
    }
    return out;
}

QString FormatGeneral(long double value, int digits) {
    return QString::fromStdString(FormatGeneralStd(value, digits));
}

bool ParseDecimal(std::string_view text, long double& value) {
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && (text[i] == '-' || text[i] == '+')) ++i;
    size_t mantissa_digits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++mantissa_digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++mantissa_digits;
    }
    if (mantissa_digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '-' || text[i] == '+')) ++i;
        size_t exponent_digits = 0;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++exponent_digits;
        if (exponent_digits == 0) return false;
    }
    if (i != n) return false;
    // from_chars takes no leading '+'.
    const size_t start = text[0] == '+' ? 1 : 0;
    long double parsed = 0.0L;
    const auto result = std::from_chars(text.data() + start, text.data() + n, parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + n) return false;
    value = parsed;
    return true;
}

}  // namespace korvel
