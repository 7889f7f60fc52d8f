// A small streaming JSON writer for korvel-run's machine-readable output:
// objects and arrays nest, every member and element stands on a line of its
// own, indented by two blanks a level. Numbers keep full precision (the
// shortest text that reads back as the same double); a number that is not
// finite is written as null.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvel::cli {

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the open object.
    JsonWriter& Key(std::string_view name);

    JsonWriter& String(std::string_view text);
    JsonWriter& Number(double value);
    JsonWriter& Integer(long long value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    // A value already written as JSON text (by another module's writer).
    JsonWriter& Raw(std::string_view json);

    // Key and value in one call.
    JsonWriter& Member(std::string_view name, std::string_view text) {
        return Key(name).String(text);
    }
    JsonWriter& Member(std::string_view name, const char* text) { return Key(name).String(text); }
    JsonWriter& Member(std::string_view name, double value) { return Key(name).Number(value); }
    JsonWriter& Member(std::string_view name, int value) { return Key(name).Integer(value); }
    JsonWriter& Member(std::string_view name, size_t value) {
        return Key(name).Integer(static_cast<long long>(value));
    }
    JsonWriter& Member(std::string_view name, bool value) { return Key(name).Bool(value); }

    // The document, ended by a line end once the outermost value is closed.
    std::string Text() const;

  private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);

    std::string out_;
    std::vector<bool> hasItems_;  // per open level: something was written in it
    bool afterKey_ = false;
};

// A text as a JSON string, quotes included.
std::string JsonString(const std::string& s);
// A number in full precision ("1.86", "-87.9", "3.5e+05"); null when not finite.
std::string JsonNumber(double v);

}  // namespace korvel::cli
