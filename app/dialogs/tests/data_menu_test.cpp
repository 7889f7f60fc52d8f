// The Data menu of the main window with the real dialogs: every item opens its
// dialog or table, and a project entered from scratch is saved and analysed.
#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "dialogs/data_dialog.h"
#include "dialogs/dlg_csd.h"
#include "dialogs/dlg_prop.h"
#include "dialogs/dlg_title.h"
#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "entry/ui/data_edit.h"
#include "entry/ui/message_notifier.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/placeholder_window.h"
#include "project/program_data.h"

using namespace korvel;

namespace {

class TRecordingPrompts : public TMainPrompts, public TMessageNotifier {
  public:
    void Information(QWidget*, const QString& text) override { Messages << text; }
    TAnswer Confirm(QWidget*, const QString&, bool) override { return TAnswer::kNo; }
    QString OpenFileName(QWidget*, const QString&, const QString&, int*) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return SavePath;
    }
    QStringList Messages;
    QString SavePath;
};

const char* kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

}  // namespace

class DataMenuTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    QTemporaryDir dir_;

    static QAction* Act(TMainForm& form, const char* name) {
        return form.findChild<QAction*>(QLatin1String(name));
    }
    static QMenu* DataMenu(TMainForm& form) {
        for (QMenu* menu : form.findChildren<QMenu*>()) {
            if (menu->title() == QLatin1String("Da&ta")) return menu;
        }
        return nullptr;
    }
    template <class T>
    static T* Open(TMainForm& form, const char* action) {
        Act(form, action)->trigger();
        QMdiSubWindow* active = form.MdiArea()->activeSubWindow();
        return active ? qobject_cast<T*>(active->widget()) : nullptr;
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
        TMessageNotifier::SetCurrent(&prompts_);
        QVERIFY(dir_.isValid());
    }
    void cleanupTestCase() {
        TMainPrompts::SetCurrent(nullptr);
        TMessageNotifier::SetCurrent(nullptr);
    }
    void init() { prompts_.Messages.clear(); }

    void everyDataItemOpensItsDialogOrTable() {
        TMainForm form;
        form.show();
        TProgramData& p = form.Project();
        p.ApplyRestraints = p.ApplyConcentratedLoads = p.ApplySprings = p.ApplyTiebacks = true;
        p.ApplyPYModification = p.ApplyExternalPYCurves = p.ApplyEICurves = true;
        p.ApplySurcharges = true;
        p.EarthPressureType = 1;  // user pressure: the distributed-load table
        const std::pair<const char*, const char*> items[] = {
            {"DataTitle", "Project Title"},
            {"DataWallProp", "Wall Properties"},
            {"DataWallConfig", "Wall Configuration"},
            {"DataSoil", "Soil Layers"},
            {"DataDist", "Distributed Loads"},
            {"DataSurcharge", "Additional Surcharge"},
            {"DataConcLoads", "Concentrated Loads"},
            {"DataTieback", "Tieback (Ground Anchor)"},
            {"DataBoundary", "Specify Deflection and Slope on Wall"},
            {"DataPYMod", "p-y Modification Factors"},
            {"DataExtPY", "Sets of Ext. p-y Curves"},
            {"DataSprings", "Lateral & Rotational Springs"},
            {"DataEICurves", "Nonlinear Moment vs EI Curves"},
        };
        for (const auto& [name, caption] : items) {
            form.UpdateMenu(DataMenu(form));
            QVERIFY2(Act(form, name)->isEnabled(), name);
            Act(form, name)->trigger();
            QMdiSubWindow* active = form.MdiArea()->activeSubWindow();
            QVERIFY2(active, name);
            QVERIFY2(!qobject_cast<TPlaceholderWindow*>(active->widget()), name);
            QVERIFY2(active->windowTitle().trimmed().startsWith(QLatin1String(caption)),
                     qPrintable(active->windowTitle()));
        }
        // A second request brings the same dialog forward.
        const qsizetype open = form.MdiArea()->subWindowList().size();
        Act(form, "DataTitle")->trigger();
        QCOMPARE(form.MdiArea()->subWindowList().size(), open);
        QCOMPARE(form.MdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("Project Title"));
    }

    void menuOpeningTakesTheValuesAndRefusesABadEntry() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* prop = Open<TDlgProp>(form, "DataWallProp");
        QVERIFY(prop);
        Type(prop->IncrementsBox(), "0");
        form.UpdateMenu(DataMenu(form));  // deactivates the dialog first
        QCOMPARE(prompts_.Messages, QStringList{"Entry must be greater than or equal to 1"});
        QCOMPARE(form.Project().Increments, 0);  // nothing taken from a refused entry
        QCoreApplication::processEvents();
        QCOMPARE(form.MdiArea()->activeSubWindow()->widget(), prop);
        Type(prop->FreeHeightBox(), "20");
        form.UpdateMenu(DataMenu(form));
        QCOMPARE(form.Project().Increments, 1);
        QCOMPARE(form.Project().FreeHeight, 240.0L);
        QVERIFY(form.Project().Modified());
        // A unit switch from the menu reloads the open dialog.
        Act(form, "Unit2")->trigger();
        QCOMPARE(prop->FreeHeightBox()->text(), QStringLiteral("6.096"));
    }

    void projectEnteredFromScratchIsSavedAndAnalysed() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QMenu* data = DataMenu(form);

        auto* title = Open<TdlgTitle>(form, "DataTitle");
        QVERIFY(title);
        Type(title->TitleEdit(), "Cantilever entered through the dialogs");

        auto* prop = Open<TDlgProp>(form, "DataWallProp");
        QVERIFY(prop);
        Type(prop->IncrementsBox(), "60");
        Type(prop->IncrementLengthBox(), "6");
        Type(prop->FreeHeightBox(), "15");
        Type(prop->MaxDeflectionBox(), "10");
        Type(prop->ClosureToleranceBox(), "0.00001");
        form.UpdateMenu(data);

        // Wall stiffness through its table: nodes 0 to 60, constant EI.
        TGridTable& section = *form.Tables().PileSect;
        QTest::mouseClick(prop->SectionButton(), Qt::LeftButton);
        QVERIFY(section.Editor());
        section.Cell(0, 0).SetAsInteger(0);
        section.Cell(1, 0).SetAsInteger(60);
        section.Cell(2, 0).SetAsInteger(1);
        section.Cell(3, 0).SetAsFloat(5.336E9L);

        Act(form, "Pressure2")->trigger();  // triangular earth pressure generated
        form.UpdateMenu(data);
        auto* csd = Open<TdlgCSD>(form, "DataWallConfig");
        QVERIFY(csd);
        Type(csd->FreeHeightBox(), "15");
        Type(csd->WaBox(), "12");
        Type(csd->WpBox(), "12");
        Type(csd->WaterBackfillBox(), "100");
        Type(csd->WaterExcavationBox(), "100");
        Type(csd->UniformSurchargeBox(), "144");
        form.UpdateMenu(data);
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        QCOMPARE(form.Project().UniformSurcharge, 1.0L);
        QCOMPARE(form.Project().WaterDepthBackfill, 1200.0L);

        // One sand layer down to 50 ft.
        Act(form, "DataSoil")->trigger();
        TGridTable& soils = *form.Tables().NewSoil;
        soils.Cell(0, 0).SetAsInteger(4);
        soils.Cell(1, 0).SetAsFloat(50.0L);
        TGridTable& sand = *soils.Cell(2, 0).AsTable();
        for (int row = 0; row < 2; ++row) {
            sand.Cell(0, row).SetAsFloat(115.0L);
            sand.Cell(1, row).SetAsFloat(35.0L);
            sand.Cell(2, row).SetAsFloat(90.0L);
        }

        const QString path = dir_.filePath("scratch.kv5d");
        prompts_.SavePath = path;
        QVERIFY(form.SaveProject());
        QVERIFY(!form.Project().Modified());
        const QString text = [&] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        }();
        QVERIFY(text.startsWith("Cantilever entered through the dialogs\r\n"));
        QVERIFY2(text.contains("60 6\t10\t1E-5\t180\t12"), qPrintable(text));

        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages, QStringList{kCompleted});
        QVERIFY(form.PlotDataLoaded());
        QFile report(dir_.filePath("scratch.kv5o"));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QString output = QString::fromUtf8(report.readAll());
        QVERIFY(output.contains("END OF ANALYSIS"));
        QVERIFY2(!output.contains("ERROR"), qPrintable(output.right(2000)));
    }
};

QTEST_MAIN(DataMenuTest)
#include "data_menu_test.moc"
