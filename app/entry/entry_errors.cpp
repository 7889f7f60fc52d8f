#include "entry/entry_errors.h"

namespace korvel {

QString ErrorMessage(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

}  // namespace korvel
