#include "run/report_header.h"

#include <array>
#include <cctype>

#include "text/layout.h"

namespace korvel::engine {
namespace {

constexpr size_t kTitleWidth = 70;
constexpr size_t kDriveWidth = 3;
constexpr size_t kExtensionWidth = 5;  // the "." and four characters

const std::string kIdentificationCaption = "Identification No.:";   // 19 characters
const std::string kUserCaption = "Analysis prepared by         :";  // 30 characters

std::string TrimRight(const std::string& s) {
    size_t end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

std::string Padded(const std::string& s, size_t width) {
    std::string out = CutUtf8(s, width);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

}  // namespace

std::string CutUtf8(const std::string& text, size_t bytes) {
    if (text.size() <= bytes) return text;
    size_t cut = bytes;
    // Step back over continuation bytes so a multi-byte character stays whole.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

PathParts SplitPath(const std::string& path) {
    PathParts parts;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        parts.drive = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    parts.drive = parts.drive.substr(0, kDriveWidth);
    size_t slash = rest.find_last_of("/\\");
    if (slash != std::string::npos) {
        parts.directory = rest.substr(0, slash + 1);
        rest.erase(0, slash + 1);
    }
    size_t dot = rest.find_last_of('.');
    if (dot != std::string::npos) {
        parts.extension = rest.substr(dot, kExtensionWidth);
        rest.erase(dot);
    }
    parts.name = TrimRight(rest);
    parts.directory = TrimRight(parts.directory);
    parts.extension = TrimRight(parts.extension);
    return parts;
}

void WriteSectionTitleLine(std::ostream& report, const SectionTitle& title) {
    report << '\n';
    switch (title.kind) {
        case SectionTitle::Kind::Own:
            report << "      " << Padded(title.title, kTitleWidth) << '\n';
            break;
        case SectionTitle::Kind::Stage:
            report << "      Stage No :" << text::FormatI(title.sectionNumber, 2) << "  "
                   << Padded(title.firstTitle, kTitleWidth) << '\n';
            break;
        case SectionTitle::Kind::LongTerm:
            report << "      Long Term :  " << Padded(title.firstTitle, kTitleWidth) << '\n';
            break;
    }
}

void WriteDateTimeBanner(std::ostream& report, const std::tm& now) {
    static constexpr std::array<const char*, 12> kMonths = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    const std::string dashes(73, '-');
    report << "     " << dashes << '\n'
           << std::string(26, ' ') << "Time and Date of Analysis\n"
           << "     " << dashes << '\n'
           << '\n';
    const int month = now.tm_mon + 1;
    if (month < 1 || month > 12) return;
    report << text::FormatLayout(
        "(15X, 'Date:  ', A, 1X, I2.2, ', ', I4, 5X, 'Time:  ', I2.2, ':', I2.2, ':', I2.2)",
        {kMonths[month - 1], now.tm_mday, now.tm_year + 1900, now.tm_hour, now.tm_min, now.tm_sec});
}

void WriteReportHeader(std::ostream& report, const ControlFile& control, const SectionTitle& title,
                       const std::tm& now) {
    if (title.sectionNumber > 1) report << "\n\n";
    const std::string rule = "     " + std::string(73, '=');
    const std::string indent(20, ' ');
    report << rule << "\n\n"
           << indent << "  KORVEL for Windows, Version " << control.version << "\n\n"
           << indent << kIdentificationCaption << text::FormatI(control.identificationNumber, 10)
           << "\n\n"
           << indent << "   A Program for the Analysis of \n"
           << indent << "   Flexible Retaining Walls \n\n"
           << rule << "\n\n\n";

    report << "     " << kUserCaption << "\n\n"
           << "     " << TrimRight(control.identification1) << '\n'
           << "     " << TrimRight(control.identification2) << "\n\n";

    const PathParts data = SplitPath(control.dataPath);
    const PathParts output = SplitPath(control.reportPath);
    const PathParts plot = SplitPath(control.plotPath);
    report << "     Path to file locations      : " << data.drive << data.directory << '\n'
           << "     Name of input data file     : " << data.name << data.extension << '\n'
           << "     Name of output file         : " << output.name << output.extension << '\n'
           << "     Name of plot output file    : " << plot.name << plot.extension << '\n'
           << '\n';

    WriteDateTimeBanner(report, now);
    WriteSectionTitleLine(report, title);
}

}  // namespace korvel::engine
