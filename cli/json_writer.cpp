#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace korvel::cli {
namespace {

std::string Escape(std::string_view s) {
    std::string out;
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

}  // namespace

std::string JsonString(const std::string& s) {
    return "\"" + Escape(s) + "\"";
}

std::string JsonNumber(double v) {
    if (!std::isfinite(v)) return "null";
    if (v == 0) return "0";  // also -0
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasItems_.empty()) return;
    if (hasItems_.back()) out_ += ',';
    out_ += '\n';
    out_.append(2 * hasItems_.size(), ' ');
    hasItems_.back() = true;
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    out_ += bracket;
    hasItems_.push_back(false);
}

void JsonWriter::Close(char bracket) {
    if (hasItems_.empty()) return;
    const bool items = hasItems_.back();
    hasItems_.pop_back();
    if (items) {
        out_ += '\n';
        out_.append(2 * hasItems_.size(), ' ');
    }
    out_ += bracket;
    if (hasItems_.empty()) out_ += '\n';
}

JsonWriter& JsonWriter::BeginObject() {
    Open('{');
    return *this;
}
JsonWriter& JsonWriter::EndObject() {
    Close('}');
    return *this;
}
JsonWriter& JsonWriter::BeginArray() {
    Open('[');
    return *this;
}
JsonWriter& JsonWriter::EndArray() {
    Close(']');
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
    BeforeValue();
    out_ += '"';
    out_ += Escape(name);
    out_ += "\": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::Raw(std::string_view json) {
    BeforeValue();
    out_ += json;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    out_ += '"';
    out_ += Escape(text);
    out_ += '"';
    return *this;
}

JsonWriter& JsonWriter::Number(double value) {
    BeforeValue();
    out_ += JsonNumber(value);
    return *this;
}

JsonWriter& JsonWriter::Integer(long long value) {
    BeforeValue();
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
    return *this;
}

std::string JsonWriter::Text() const {
    return out_;
}

}  // namespace korvel::cli
