#include "entry/definition_stream.h"

#include <QDataStream>
#include <QIODevice>
#include <cmath>

#include "entry/entry_errors.h"

namespace korvel {

template <typename T>
T TDefinitionStream::Read() {
    if (AtEnd()) throw EGridError("Stream read error");
    const TValue& value = values_[position_];
    if (!std::holds_alternative<T>(value)) throw EGridError("Invalid property value");
    ++position_;
    return std::get<T>(value);
}

template int TDefinitionStream::Read<int>();
template bool TDefinitionStream::Read<bool>();
template QString TDefinitionStream::Read<QString>();
template QStringList TDefinitionStream::Read<QStringList>();
template QList<int> TDefinitionStream::Read<QList<int>>();
template long double TDefinitionStream::Read<long double>();

QByteArray TDefinitionStream::ToBytes() const {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << static_cast<quint32>(values_.size());
    for (const TValue& value : values_) {
        out << static_cast<quint8>(value.index());
        std::visit(
            [&out](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, int>) {
                    out << static_cast<qint32>(v);
                } else if constexpr (std::is_same_v<T, long double>) {
                    int exponent = 0;
                    const long double fraction = std::frexp(std::fabs(v), &exponent);
                    // The 64-bit mantissa of a long double, exactly, as an integer.
                    out << std::signbit(v) << static_cast<quint64>(std::ldexp(fraction, 64))
                        << static_cast<qint32>(exponent);
                } else {
                    out << v;
                }
            },
            value);
    }
    return bytes;
}

TDefinitionStream TDefinitionStream::FromBytes(const QByteArray& bytes) {
    TDefinitionStream stream;
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 count = 0;
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        quint8 tag = 0;
        in >> tag;
        switch (tag) {
            case 0: {
                qint32 v = 0;
                in >> v;
                stream.values_.emplace_back(static_cast<int>(v));
                break;
            }
            case 1: {
                bool v = false;
                in >> v;
                stream.values_.emplace_back(v);
                break;
            }
            case 2: {
                QString v;
                in >> v;
                stream.values_.emplace_back(v);
                break;
            }
            case 3: {
                QStringList v;
                in >> v;
                stream.values_.emplace_back(v);
                break;
            }
            case 4: {
                QList<int> v;
                in >> v;
                stream.values_.emplace_back(v);
                break;
            }
            case 5: {
                bool negative = false;
                quint64 mantissa = 0;
                qint32 exponent = 0;
                in >> negative >> mantissa >> exponent;
                const long double magnitude =
                    std::ldexp(static_cast<long double>(mantissa), exponent - 64);
                stream.values_.emplace_back(negative ? -magnitude : magnitude);
                break;
            }
            default:
                throw EGridError("Invalid stream format");
        }
    }
    if (in.status() != QDataStream::Ok) throw EGridError("Stream read error");
    return stream;
}

}  // namespace korvel
