#include "entry/table_registry.h"

#include <algorithm>

#include "entry/grid_table.h"

namespace korvel {

void TTableRegistry::Register(TGridTable* table) {
    tables_.push_back(table);
}

void TTableRegistry::Unregister(TGridTable* table) {
    std::erase(tables_, table);
}

TGridTable* TTableRegistry::Find(int identifier) const {
    const auto it = std::find_if(tables_.begin(), tables_.end(), [identifier](const TGridTable* t) {
        return t->Identifier() == identifier;
    });
    return it == tables_.end() ? nullptr : *it;
}

}  // namespace korvel
