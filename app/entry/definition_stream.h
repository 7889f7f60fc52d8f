// Typed value stream in which table definitions (the column list of a grid table)
// are persisted: integers, booleans, texts, lists of texts, lists of integers and
// extended reals, read back in the order written. Reading a value of another type
// or past the end throws EGridError.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace korvel {

class TDefinitionStream {
  public:
    using TValue = std::variant<int, bool, QString, QStringList, QList<int>, long double>;

    void WriteInteger(int value) { values_.emplace_back(value); }
    void WriteBoolean(bool value) { values_.emplace_back(value); }
    void WriteString(const QString& value) { values_.emplace_back(value); }
    void WriteStringList(const QStringList& value) { values_.emplace_back(value); }
    void WriteIntegerList(const QList<int>& value) { values_.emplace_back(value); }
    void WriteFloat(long double value) { values_.emplace_back(value); }

    int ReadInteger() { return Read<int>(); }
    bool ReadBoolean() { return Read<bool>(); }
    QString ReadString() { return Read<QString>(); }
    QStringList ReadStringList() { return Read<QStringList>(); }
    QList<int> ReadIntegerList() { return Read<QList<int>>(); }
    long double ReadFloat() { return Read<long double>(); }

    bool AtEnd() const { return position_ >= values_.size(); }
    void Rewind() { position_ = 0; }
    std::vector<TValue>& Values() { return values_; }

    // Binary form for storage: a tag byte per value, then the value. Reals keep
    // their full 64-bit mantissa (stored as mantissa and exponent).
    QByteArray ToBytes() const;
    // Throws EGridError when the bytes are not such a stream.
    static TDefinitionStream FromBytes(const QByteArray& bytes);

  private:
    template <typename T>
    T Read();

    std::vector<TValue> values_;
    size_t position_ = 0;
};

}  // namespace korvel
