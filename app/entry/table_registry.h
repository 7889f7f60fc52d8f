// The list in which grid tables register themselves on creation, so that a flex
// column can find its sub-table templates by Identifier. The plain tables and the
// chart tables each have their own registry (their Identifiers are separate
// spaces). The registry is owned by whoever owns the tables and must outlive them.
#pragma once

#include <vector>

namespace korvel {

class TGridTable;

class TTableRegistry {
  public:
    TTableRegistry() = default;
    TTableRegistry(const TTableRegistry&) = delete;
    TTableRegistry& operator=(const TTableRegistry&) = delete;

    // Default Identifier of the next table: 0, 1, 2, ...
    int NextIdentifier() { return next_identifier_++; }

    void Register(TGridTable* table);
    void Unregister(TGridTable* table);
    // The registered table with this Identifier, or nullptr.
    TGridTable* Find(int identifier) const;
    const std::vector<TGridTable*>& Tables() const { return tables_; }

  private:
    std::vector<TGridTable*> tables_;
    int next_identifier_ = 0;
};

}  // namespace korvel
