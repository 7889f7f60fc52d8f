// Help pictures shown under the comments of a table window, drawn in code so that
// they follow the user's font and need no image files.
#pragma once

#include <QPixmap>
#include <QString>

namespace korvel {

// The picture named by a table's HelpPicture, or a null pixmap for an unknown name.
QPixmap HelpPicturePixmap(const QString& name);

}  // namespace korvel
