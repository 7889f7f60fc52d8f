// The project title as the title dialog keeps it: one line of at most 80
// characters, since it is the TITLE line of the data file.
#pragma once

#include <QString>

namespace korvel {

inline constexpr int kTitleMaxLength = 80;

// Every line break (CR LF, CR, LF, vertical tab, form feed, U+0085, U+2028,
// U+2029) becomes one blank; the result is cut to kTitleMaxLength characters.
QString SingleLineTitle(const QString& text);
// True when text holds a character that SingleLineTitle replaces.
bool HasLineBreak(const QString& text);

}  // namespace korvel
