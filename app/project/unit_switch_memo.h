// The project's held values switch between English and SI with fixed factors that
// are not exact inverses of each other (0.0254 m per inch one way, 39.3701 inches
// per metre the other), so a value switched there and back would come back
// changed (6 in -> 6.0000032 in) and drift further with every round trip. The
// memo remembers, for the last switch that converted, which value each result
// came from; the switch back then gives the value as the user entered it instead
// of multiplying once more. A value edited in between is not found and converts
// with the factor, so the stated factors still apply to every new value.
#pragma once

#include <QByteArray>
#include <map>
#include <utility>

namespace korvel {

// Kinds of converted value: a result is only taken back for the same kind.
enum class TConvertedQuantity { kLength, kForce, kForcePerLength, kPressure };

class TUnitSwitchMemo {
  public:
    // Starts a switch of the unit system from one system to another.
    void Begin(int from_system, int to_system);
    // The value converted for the switch begun: the value it came from when this
    // switch reverses the last converting one and value is what that switch
    // produced for the same kind; otherwise value * factor.
    long double Convert(TConvertedQuantity kind, long double value, long double factor);
    // Ends the switch: after a converting switch, its results are what the next
    // switch back looks up. Switches to or from Other convert nothing and keep the memo.
    void End();

  private:
    using TKey = std::pair<TConvertedQuantity, long double>;

    bool converting_ = false;
    bool reverses_last_ = false;
    int last_from_ = 0;  // the last converting switch, 0 before any
    int last_to_ = 0;
    int from_ = 0;
    int to_ = 0;
    std::map<TKey, long double> last_;  // result of the last converting switch -> its source
    std::map<TKey, long double> next_;  // the same for the switch in progress
};

// What the last unit switch did to one stage file.
struct TStageUnitRecord {
    int From = 0;          // unit system of the file before the switch
    int To = 0;            // unit system the switch wrote
    QByteArray Source;     // the file before the switch
    QByteArray Converted;  // the file the switch wrote
};

}  // namespace korvel
