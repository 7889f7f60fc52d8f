// The main window's child windows and tool buttons follow the project: after a
// stage switch, a unit switch or an option change, a window whose data no
// longer apply (its Data menu item is greyed) is closed, so that nothing is
// typed into data that is neither saved nor analysed. Callers take the windows'
// entries first. Windows that show for themselves whether they apply (a dialog
// with the option's own check box) stay open.
#pragma once

class QMdiArea;

namespace korvel {

class TProgramData;

void CloseWindowsThatDoNotApply(QMdiArea& area, const TProgramData& project);

}  // namespace korvel
