#include "dialogs/title_text.h"

namespace korvel {
namespace {

bool IsLineBreak(QChar c) {
    const char16_t u = c.unicode();
    return u == u'\r' || u == u'\n' || u == u'\v' || u == u'\f' || u == 0x0085 || u == 0x2028 ||
           u == 0x2029;
}

}  // namespace

bool HasLineBreak(const QString& text) {
    for (QChar c : text) {
        if (IsLineBreak(c)) return true;
    }
    return false;
}

QString SingleLineTitle(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!IsLineBreak(c)) {
            line.append(c);
            continue;
        }
        // A CR LF pair is one break.
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        line.append(u' ');
    }
    return line.left(kTitleMaxLength);
}

}  // namespace korvel
