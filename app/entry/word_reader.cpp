#include "entry/word_reader.h"

#include <QFile>
#include <QStringDecoder>
#include <cmath>

#include "entry/entry_errors.h"
#include "entry/number_format.h"

namespace korvel {
namespace {

constexpr const char* kIncomplete = "This file either invalid or incomplete.";
constexpr const char* kRealExpected = "A floating point number was expected but not found.";
constexpr const char* kIntegerExpected = "An integer was expected but not found.";

// Characters 0x80..0x9F of Windows-1252; the rest of its upper half is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool ParseIntegral(const QString& word, int& value) {
    long double real = 0.0L;
    if (!ParseDecimal(word.toStdString(), real)) return false;
    if (real != std::trunc(real) || real < -2147483648.0L || real > 2147483647.0L) return false;
    value = static_cast<int>(real);
    return true;
}

}  // namespace

QStringList SplitLines(const QString& text) {
    QStringList lines;
    const QStringView view(text);
    qsizetype start = 0;
    for (qsizetype i = 0; i < view.size(); ++i) {
        if (view[i] != u'\n' && view[i] != u'\r') continue;
        lines.append(view.sliced(start, i - start).toString());
        if (view[i] == u'\r' && i + 1 < view.size() && view[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    // A final line end closes the last line; it does not open an empty one.
    if (start < view.size()) lines.append(view.sliced(start).toString());
    return lines;
}

QString DecodeFileText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    text.clear();
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text += (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

TWordReader::TWordReader(const QString& file_name) {
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EInOutError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(file_name, file.errorString()));
    }
    // The largest project (five stages of the longest wall, every table full)
    // is a few megabytes; a file far beyond that is not a project, and reading
    // it whole would take many times its size in memory.
    if (file.size() > kMaxDataFileBytes) {
        throw EInOutError(QStringLiteral("The file \"%1\" holds %2 MB, far more than a project can "
                                         "(at most %3 MB): it is not read.")
                              .arg(file_name)
                              .arg(file.size() / (1024 * 1024))
                              .arg(kMaxDataFileBytes / (1024 * 1024)));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw EInOutError(
            QStringLiteral("Cannot read file \"%1\". %2").arg(file_name, file.errorString()));
    }
    SetText(DecodeFileText(bytes));
}

TWordReader TWordReader::FromText(const QString& text) {
    TWordReader reader;
    reader.SetText(text);
    return reader;
}

void TWordReader::SetText(const QString& text) {
    // Lines end in LF, CR LF or a lone CR (files saved by older Mac editors).
    QStringList raw = SplitLines(text);
    lines_.clear();
    for (QString& line : raw) {
        TWordContainer container;
        container.Text = line;
        // Trim blanks and control characters at both ends (QString::trimmed keeps
        // other control characters).
        const QStringView view(line);  // read-only: no detaching copy of the line
        qsizetype first = 0, last = view.size();
        while (first < last && view[first].unicode() <= u' ') ++first;
        while (last > first && view[last - 1].unicode() <= u' ') --last;
        // Words are separated by runs of blanks and tabs. A plain scan: splitting
        // by a regular expression took half the time of reading a large plot file.
        qsizetype start = -1;
        for (qsizetype i = first; i <= last; ++i) {
            if (i == last || view[i] == u' ' || view[i] == u'\t') {
                if (start >= 0) container.Words.append(view.sliced(start, i - start).toString());
                start = -1;
            } else if (start < 0) {
                start = i;
            }
        }
        lines_.push_back(std::move(container));
    }
    line_ = word_ = 0;
}

QString TWordReader::ReadLine() {
    if (word_ > 0) {
        ++line_;
        word_ = 0;
    }
    if (AtEnd()) throw EInOutError(kIncomplete);
    return lines_[static_cast<size_t>(line_++)].Text;
}

const QString& TWordReader::NextWord() {
    while (!AtEnd() && word_ >= lines_[static_cast<size_t>(line_)].Words.size()) {
        ++line_;
        word_ = 0;
    }
    if (AtEnd()) throw EInOutError(kIncomplete);
    last_line_ = line_;
    last_word_ = word_;
    const QString& word = lines_[static_cast<size_t>(line_)].Words[word_++];
    // A fully read line is left behind at once, so AtEnd turns true after the last word.
    if (word_ >= lines_[static_cast<size_t>(line_)].Words.size()) {
        ++line_;
        word_ = 0;
    }
    return word;
}

QString TWordReader::Position() const {
    return QStringLiteral("Error on Line %1 Item %2\r").arg(last_line_ + 1).arg(last_word_ + 1);
}

long double TWordReader::ReadReal() {
    const QString& word = NextWord();
    long double value = 0.0L;
    if (!ParseDecimal(word.toStdString(), value)) throw EInOutError(Position() + kRealExpected);
    return value;
}

int TWordReader::ReadInteger() {
    const QString& word = NextWord();
    int value = 0;
    if (!ParseIntegral(word, value)) throw EInOutError(Position() + kIntegerExpected);
    return value;
}

int TWordReader::ReadCount(int max_count) {
    const int count = ReadInteger();
    if (count < 0 || (max_count > 0 && count > max_count)) {
        throw EInOutError(
            Position() +
            QStringLiteral("A count from 0 to %1 was expected but %2 was found.")
                .arg(max_count > 0 ? QString::number(max_count) : QStringLiteral("2147483647"))
                .arg(count));
    }
    return count;
}

}  // namespace korvel
