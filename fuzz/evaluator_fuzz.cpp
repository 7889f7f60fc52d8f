// The entry evaluator on arbitrary text, as typed into a numeric field, and the
// two ways an entry box shows the value.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "entry/entry_errors.h"
#include "entry/evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const long double value = korvel::EvaluateEntry(text);
        korvel::FormatEntryValue(value);
        korvel::FormatHexValue(value);
    } catch (const korvel::EKorvelError&) {
    }
    return 0;
}
