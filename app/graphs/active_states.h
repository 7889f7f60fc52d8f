// TActiveStates: the active-curves dialog's working copy of which curves of a
// graph's Lines take part in the graph. Each entry shows its state, three blanks
// and the curve's legend text; nothing reaches the graph until Apply.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace korvel {

class TGraphPlot;

inline constexpr const char* kActiveState = " yes : ";
inline constexpr const char* kInactiveState = " no  : ";

class TActiveStates {
  public:
    explicit TActiveStates(const TGraphPlot& graph);

    int Count() const { return static_cast<int>(active_.size()); }
    bool Active(int index) const { return active_.at(static_cast<size_t>(index)); }
    void Toggle(int index);
    void SetAll(bool active);
    // " yes : " or " no  : ", three blanks, the legend text.
    QString ItemText(int index) const;
    QStringList ItemTexts() const;
    // Each curve's Active flag from its state.
    void Apply(TGraphPlot& graph) const;

  private:
    QStringList texts_;
    std::vector<bool> active_;
};

}  // namespace korvel
