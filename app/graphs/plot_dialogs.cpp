#include "graphs/plot_dialogs.h"

#include <QAction>
#include <QMenu>

#include "graphs/active_lines_dialog.h"
#include "graphs/graph_caption_dialog.h"
#include "graphs/graph_plot.h"
#include "graphs/legend_box.h"
#include "graphs/line_names_dialog.h"
#include "graphs/plot_form.h"

namespace korvel {
namespace {

const QString kCurveItemPrefix = QStringLiteral("Curve");

void Redraw(TPlotForm& form) {
    form.Legend()->update();
    form.Canvas()->update();
}

}  // namespace

void RebuildCurveItems(TPlotForm& form) {
    TGraphPlot& graph = form.Graph();
    QMenu* menu = form.PlotMenu();
    // The curve items stand after the menu's fixed items, named by curve index.
    std::vector<QAction*> items;
    for (QAction* a : menu->actions()) {
        if (a->objectName().startsWith(kCurveItemPrefix)) items.push_back(a);
    }
    size_t next = 0;
    for (int i = 0; i < graph.Lines.CurveCount(); ++i) {
        TLine& curve = graph.Lines.Curve(i);
        if (!curve.Active) continue;
        QAction* a = nullptr;
        if (next < items.size()) {
            a = items[next++];
            a->disconnect(&form);
        } else {
            a = menu->addAction(QString());
            a->setCheckable(true);
        }
        a->setObjectName(kCurveItemPrefix + QString::number(i));
        a->setText(graph.LegendText(i));
        a->setChecked(curve.Visible);
        QObject::connect(a, &QAction::triggered, &form, [&form, i] {
            TLine& c = form.Graph().Lines.Curve(i);
            c.Visible = !c.Visible;
            Redraw(form);
        });
    }
    for (; next < items.size(); ++next) {
        menu->removeAction(items[next]);
        delete items[next];
    }
    form.Legend()->Rebuild();
    form.Legend()->KeepInside();
    Redraw(form);
}

void EditLegendClick(TPlotForm& form) {
    TfrmLineNames dialog(form.Graph(), &form);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.Apply(form.Graph());
    RebuildCurveItems(form);
}

void ActiveCurvesClick(TPlotForm& form) {
    TfrmActiveLines dialog(form.Graph(), &form);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.Apply(form.Graph());
    RebuildCurveItems(form);
}

void GraphTitleClick(TPlotForm& form, const std::function<void()>& relayout) {
    TfrmGraphCaption dialog(form.Graph(), &form);
    dialog.exec();  // the title is taken however the dialog closes
    relayout();
}

}  // namespace korvel
