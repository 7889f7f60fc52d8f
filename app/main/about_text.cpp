#include "main/about_text.h"

#include <xlsxwriter.h>

#include "main/file_names.h"

namespace korvel {

QString AboutText(const QString& qt_version) {
    QString text =
        QStringLiteral("KORVEL 2015 Version ") + QLatin1String(kProgramVersion) +
        QStringLiteral(
            "\nA Program for the Analysis of Flexible Retaining Walls\n\n"
            "KORVEL is free software: you can redistribute it and/or modify it under the "
            "terms of the GNU General Public License as published by the Free Software "
            "Foundation, either version 3 of the License, or (at your option) any later "
            "version (GPL-3.0-or-later). It comes with ABSOLUTELY NO WARRANTY.\n\n"
            "Built with these libraries, each under its own licence:\n");
    text +=
        QStringLiteral("- Qt ") + qt_version +
        QStringLiteral(" (Core, Gui, Widgets, OpenGL, Print Support, SVG): GNU LGPL version 3\n");
    text += QStringLiteral("- Qt Charts ") + qt_version + QStringLiteral(": GNU GPL version 3\n");
    text += QStringLiteral("- libxlsxwriter ") + QLatin1String(LXW_VERSION) +
            QStringLiteral(": BSD 2-Clause licence\n");
    text += QStringLiteral(
        "- minizip and zlib (used by libxlsxwriter): zlib licence\n"
        "- Mesa OpenGL: MIT licence\n"
        "- GNU C++ standard library: GPL version 3 with the GCC Runtime Library Exception\n\n"
        "The engine library uses the C++ standard library only.\n"
        "The user guide and the technical guide are under Help \u203a Contents.");
    return text;
}

}  // namespace korvel
