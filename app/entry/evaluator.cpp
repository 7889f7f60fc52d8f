#include "entry/evaluator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "entry/entry_errors.h"
#include "entry/number_format.h"

namespace korvel {
namespace {

constexpr const char* kMessagePrefix = "Entry could not be evaluated:\r";
constexpr const char* kBlank = "entry cannot be blank";
constexpr const char* kParentheses = "() (parentheses) do not match";
constexpr const char* kInvalidExpression = "invalid expression";
constexpr const char* kInvalidCharacters = "invalid character(s) in expression";
constexpr const char* kInvalidHex = "invalid use of $ (hex function)";
constexpr const char* kFactorial = "! (factoral) applicable to integers only";

constexpr const char* kDivisionByZero = "Floating point division by zero";
constexpr const char* kInvalidOperation = "Invalid floating point operation";
constexpr const char* kOverflow = "Floating point overflow";

// Largest n whose factorial a long double holds (1754! ~ 2e4930).
constexpr long double kMaxFactorial = 1754.0L;
// 2^63: operands of % are truncated to 64-bit integers.
constexpr long double kInt64Limit = 9223372036854775808.0L;

[[noreturn]] void Fail(const char* reason) {
    throw EAssignError(std::string(kMessagePrefix) + reason);
}

long double Checked(long double value) {
    if (std::isnan(value)) throw EMathError(kInvalidOperation);
    if (std::isinf(value)) throw EMathError(kOverflow);
    return value;
}

long double Reciprocal(long double value) {
    if (value == 0.0L) throw EMathError(kDivisionByZero);
    return Checked(1.0L / value);
}

using TFunction = long double (*)(long double);

struct TNamedFunction {
    std::string_view name;
    TFunction apply;
};

// Matched by the longest name that prefixes the operand, so "cosec" is not read
// as cos applied to "ec...", nor "cosh" as cos applied to "h...".
const std::array<TNamedFunction, 25> kFunctions{{
    {"arctanh", [](long double x) { return std::atanh(x); }},
    {"arctan", [](long double x) { return std::atan(x); }},
    {"cotan", [](long double x) { return Reciprocal(std::tan(x)); }},
    {"tanh", [](long double x) { return std::tanh(x); }},
    {"tan", [](long double x) { return std::tan(x); }},
    {"arccosh", [](long double x) { return std::acosh(x); }},
    {"arccos", [](long double x) { return std::acos(x); }},
    {"cosh", [](long double x) { return std::cosh(x); }},
    {"cos", [](long double x) { return std::cos(x); }},
    {"sec", [](long double x) { return Reciprocal(std::cos(x)); }},
    {"arcsinh", [](long double x) { return std::asinh(x); }},
    {"arcsin", [](long double x) { return std::asin(x); }},
    {"sinh", [](long double x) { return std::sinh(x); }},
    {"sin", [](long double x) { return std::sin(x); }},
    {"cosec", [](long double x) { return Reciprocal(std::sin(x)); }},
    {"csc", [](long double x) { return Reciprocal(std::sin(x)); }},
    {"abs", [](long double x) { return std::fabs(x); }},
    {"frac", [](long double x) { return x - std::trunc(x); }},
    {"int", [](long double x) { return std::trunc(x); }},
    {"ln",
     [](long double x) { return x == 0.0L ? throw EMathError(kDivisionByZero) : std::log(x); }},
    {"round", [](long double x) { return std::nearbyint(x); }},  // ties to even
    {"ceil", [](long double x) { return std::ceil(x); }},
    {"floor", [](long double x) { return std::floor(x); }},
    {"log",
     [](long double x) { return x == 0.0L ? throw EMathError(kDivisionByZero) : std::log10(x); }},
    {"sqrt", [](long double x) { return std::sqrt(x); }},
}};

const TNamedFunction* MatchFunction(std::string_view operand) {
    const TNamedFunction* best = nullptr;
    for (const TNamedFunction& f : kFunctions) {
        if (operand.starts_with(f.name) && (!best || f.name.size() > best->name.size())) best = &f;
    }
    return best;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// A minus directly after one of these texts is the sign of the function's argument.
bool IsFunctionName(std::string_view text) {
    const std::string lower = Lower(text);
    if (lower == "!" || lower == "$") return true;
    return std::any_of(kFunctions.begin(), kFunctions.end(),
                       [&](const TNamedFunction& f) { return f.name == lower; });
}

std::string Format(long double value) {
    return FormatGeneralStd(Checked(value), kEntryDigits);
}

long double Factorial(long double n) {
    if (n != std::trunc(n)) Fail(kFactorial);
    const long double magnitude = std::fabs(n);
    if (magnitude > kMaxFactorial) throw EMathError(kOverflow);
    long double result = 1.0L;
    for (long double k = 2.0L; k <= magnitude; k += 1.0L) result *= k;
    return n < 0.0L ? -result : result;
}

long double Hexadecimal(std::string_view digits) {
    if (digits.empty() || digits.size() > 16) Fail(kInvalidHex);
    uint64_t value = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) Fail(kInvalidHex);
        const int digit =
            std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return static_cast<long double>(static_cast<int64_t>(value));
}

long double EvaluateOperand(std::string_view raw) {
    std::string operand(raw);
    for (size_t at; (at = operand.find("--")) != std::string::npos;) operand.erase(at, 2);
    operand = Lower(operand);
    if (operand == "pi") return std::numbers::pi_v<long double>;
    if (operand == "-pi") return -std::numbers::pi_v<long double>;
    if (operand == "e") return std::numbers::e_v<long double>;
    if (operand == "-e") return -std::numbers::e_v<long double>;
    if (const TNamedFunction* f = MatchFunction(operand)) {
        return Checked(f->apply(EvaluateOperand(std::string_view(operand).substr(f->name.size()))));
    }
    if (!operand.empty() && operand.back() == '!') {
        return Factorial(EvaluateOperand(std::string_view(operand).substr(0, operand.size() - 1)));
    }
    if (!operand.empty() && operand.front() == '$')
        return Hexadecimal(std::string_view(operand).substr(1));
    long double value = 0.0L;
    if (!ParseDecimal(operand, value)) Fail(kInvalidCharacters);
    return value;
}

int64_t TruncatedInteger(long double value) {
    const long double t = std::trunc(value);
    if (!(t > -kInt64Limit && t < kInt64Limit)) throw EMathError(kOverflow);
    return static_cast<int64_t>(t);
}

long double Apply(char op, long double a, long double b) {
    switch (op) {
        case '^':
            return std::pow(a, b);
        case '*':
            return a * b;
        case '/':
            if (b == 0.0L) throw EMathError(a == 0.0L ? kInvalidOperation : kDivisionByZero);
            return a / b;
        case '%': {
            const int64_t left = TruncatedInteger(a);
            const int64_t right = TruncatedInteger(b);
            if (right == 0) throw EMathError("Division by zero");
            if (right == -1) return 0.0L;                   // INT64_MIN % -1 would trap
            return static_cast<long double>(left % right);  // sign of the left operand
        }
        case '&':
            return (a != 0.0L && b != 0.0L) ? 1.0L : 0.0L;
        case '+':
            return a + b;
        case '-':
            return a - b;
        case '|':
            return (a != 0.0L || b != 0.0L) ? 1.0L : 0.0L;
        case '=':
            return a == b ? 1.0L : 0.0L;
        default:
            return 0.0L;
    }
}

bool IsPlainOperator(char c) {
    return std::string_view("^*/%+=|&").find(c) != std::string_view::npos;
}

// Evaluates text without parentheses.
long double EvaluateFlat(const std::string& text) {
    std::vector<std::string> operands;
    std::vector<char> operators;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        bool is_operator = IsPlainOperator(c);
        if (c == '-') {
            // A sign starts the text, follows an operator-like character or an 'e' of an
            // exponent, or follows a function name at the start of its operand
            // ("2*sin-1"); any other minus subtracts.
            const bool sign =
                i == 0 ||
                std::string_view("%&*+/=E^e|-").find(text[i - 1]) != std::string_view::npos ||
                IsFunctionName(std::string_view(text).substr(start, i - start));
            is_operator = !sign;
        }
        if (is_operator) {
            operands.push_back(text.substr(start, i - start));
            operators.push_back(c);
            start = i + 1;
        }
    }
    operands.push_back(text.substr(start));
    // Operators and operands must alternate: no operand may be empty.
    if (std::any_of(operands.begin(), operands.end(),
                    [](const std::string& s) { return s.empty(); })) {
        Fail(kInvalidExpression);
    }
    for (std::string_view level : {"^", "*/%&", "+-|", "="}) {
        for (size_t i = 0; i < operators.size();) {
            if (level.find(operators[i]) == std::string_view::npos) {
                ++i;
                continue;
            }
            const long double result =
                Apply(operators[i], EvaluateOperand(operands[i]), EvaluateOperand(operands[i + 1]));
            operands[i] = Format(result);
            operands.erase(operands.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            operators.erase(operators.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    return Checked(EvaluateOperand(operands.front()));
}

}  // namespace

long double EvaluateEntry(const QString& entry) {
    std::string text;
    for (QChar c : entry) {
        if (c != u' ' && c != u'\t') text += QString(c).toStdString();
    }
    if (text.empty()) Fail(kBlank);
    // Innermost parentheses first; each group is replaced by its value.
    for (size_t close; (close = text.find(')')) != std::string::npos;) {
        const size_t open = text.rfind('(', close);
        if (open == std::string::npos) Fail(kParentheses);
        const long double inner = EvaluateFlat(text.substr(open + 1, close - open - 1));
        text.replace(open, close - open + 1, Format(inner));
    }
    return EvaluateFlat(text);
}

QString FormatEntryValue(long double value) {
    return FormatGeneral(value, kEntryDigits);
}

QString FormatHexValue(long double value) {
    const long double rounded = std::nearbyint(value);
    int64_t integer = 0;
    if (rounded >= kInt64Limit) {
        integer = std::numeric_limits<int64_t>::max();
    } else if (rounded < -kInt64Limit) {
        integer = std::numeric_limits<int64_t>::min();
    } else {
        integer = static_cast<int64_t>(rounded);
    }
    return QStringLiteral("$") +
           QString::number(static_cast<qulonglong>(integer), 16).toUpper().rightJustified(4, u'0');
}

}  // namespace korvel
