// The ten most recently used data files, slot 0 the most recent. Empty slots
// hold empty strings; filled slots come first.
#pragma once

#include <QString>
#include <array>

namespace korvel {

class TRecentFiles {
  public:
    static constexpr int kSlots = 10;

    // Puts path into slot 0: nothing when it is there already; from slots 1 to 9
    // it moves up and the slots above it move down one; a new path pushes every
    // slot down and slot 9's path is dropped. Returns true when the list changed.
    bool Add(const QString& path);
    // Number of non-empty slots.
    int Count() const;
    const QString& Slot(int index) const { return slots_.at(index); }
    void SetSlot(int index, const QString& path) { slots_.at(index) = path; }
    void Clear() { slots_.fill(QString()); }

    // Menu caption of a slot: its number from 1, a blank and the path; the part up
    // to and including current_folder + "/" dropped, so files of the current
    // folder show by name alone. "&" doubled so the menu shows it as it is.
    QString Caption(int index, const QString& current_folder) const;

  private:
    std::array<QString, kSlots> slots_;
};

}  // namespace korvel
