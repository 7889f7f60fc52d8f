// The load and option dialogs of the Data menu, each leading to one grid table:
// concentrated loads (BoundCond) and springs (SoilStrength) with the check box of
// their option, tiebacks (TiebackTable1) and additional surcharges
// (SurchargeTable), whose options are switched in the options menu.
#pragma once

#include "dialogs/table_dialog.h"

namespace korvel {

struct TProgramTables;

class TDlgConLoads : public TTableDialog {
    Q_OBJECT

  public:
    TDlgConLoads(TProgramData& project, TProgramTables& tables, QMdiArea* area,
                 QWidget* parent = nullptr);
};

class TDlgSpring : public TTableDialog {
    Q_OBJECT

  public:
    TDlgSpring(TProgramData& project, TProgramTables& tables, QMdiArea* area,
               QWidget* parent = nullptr);
};

class TDlgTieback : public TTableDialog {
    Q_OBJECT

  public:
    TDlgTieback(TProgramData& project, TProgramTables& tables, QMdiArea* area,
                QWidget* parent = nullptr);
};

class TDlgRebar : public TTableDialog {
    Q_OBJECT

  public:
    TDlgRebar(TProgramData& project, TProgramTables& tables, QMdiArea* area,
              QWidget* parent = nullptr);
};

}  // namespace korvel
