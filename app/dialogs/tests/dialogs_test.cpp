// The input dialogs on their own, over a project and its tables, offscreen.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "dialogs/data_dialogs.h"
#include "dialogs/dlg_csd.h"
#include "dialogs/dlg_prop.h"
#include "dialogs/dlg_title.h"
#include "dialogs/load_dialogs.h"
#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "entry/ui/data_edit.h"
#include "entry/ui/message_notifier.h"
#include "entry/ui/table_form.h"
#include "project/program_data.h"

using namespace korvel;

namespace {

class TRecordingNotifier : public TMessageNotifier {
  public:
    void Information(QWidget*, const QString& text) override { Messages.append(text); }
    QStringList Messages;
};

// Types text into a box as the user would (replacing what it shows).
void Type(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private:
    TRecordingNotifier notifier_;
    std::unique_ptr<TProgramTables> tables_;
    std::unique_ptr<TProgramData> project_;
    std::unique_ptr<QMdiArea> area_;
    std::unique_ptr<TDataDialogs> dialogs_;

  private Q_SLOTS:
    void initTestCase() { TMessageNotifier::SetCurrent(&notifier_); }
    void cleanupTestCase() { TMessageNotifier::SetCurrent(nullptr); }
    void init() {
        notifier_.Messages.clear();
        tables_ = std::make_unique<TProgramTables>();
        project_ = std::make_unique<TProgramData>(*tables_);
        project_->CreateNew();
        area_ = std::make_unique<QMdiArea>();
        area_->resize(1000, 800);
        area_->show();
        dialogs_ = std::make_unique<TDataDialogs>(*project_, *tables_, area_.get());
    }
    void cleanup() {
        area_->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialogs_.reset();
        area_.reset();
        project_.reset();
        tables_.reset();
    }

    void newProjectShowsIncrementsAsHeld() {
        auto* dlg = qobject_cast<TDlgProp*>(dialogs_->ShowWallProperties());
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Wall Properties"));
        // Below the box's least entry: shown as held, never changed by looking, and
        // not told, since a new project's zero is a value not entered yet.
        QCOMPARE(dlg->IncrementsBox()->text(), QStringLiteral("0"));
        QCoreApplication::processEvents();
        QVERIFY(notifier_.Messages.isEmpty());
        QCOMPARE(dlg->MaxDeflectionBox()->text(), QStringLiteral("100"));
        QCOMPARE(dlg->ClosureToleranceBox()->text(), QStringLiteral("1E-5"));
        QCOMPARE(dlg->IncrementsBox()->EditLabel()->text(), QStringLiteral("&Increments (nodes)"));
        QCOMPARE(dlg->FreeHeightBox()->EditLabel()->text(),
                 QStringLiteral("Free Height of Wall (ft)"));
        QCOMPARE(dlg->IncrementLengthBox()->EditLabel()->text(),
                 QStringLiteral("Increment Length (in)"));
        QVERIFY(dlg->Deactivate());
        QCOMPARE(project_->Increments, 0);
        QVERIFY(!project_->Modified());  // copying back is no change by the user
    }

    void freeHeightInFeetIsHeldInInches_data() {
        QTest::addColumn<bool>("configuration");
        QTest::newRow("wall properties") << false;
        QTest::newRow("wall configuration") << true;
    }
    void freeHeightInFeetIsHeldInInches() {
        QFETCH(bool, configuration);
        TDataDialog* dlg =
            configuration ? dialogs_->ShowWallConfiguration() : dialogs_->ShowWallProperties();
        TDataEdit* box = configuration ? static_cast<TdlgCSD*>(dlg)->FreeHeightBox()
                                       : static_cast<TDlgProp*>(dlg)->FreeHeightBox();
        Type(box, "20");
        QVERIFY(project_->Modified());
        QVERIFY(box->ExitCheck());
        QVERIFY(dlg->Deactivate());
        QCOMPARE(project_->FreeHeight, 240.0L);
        // The WALL line carries the held inches.
        const QStringList lines = QString::fromUtf8(project_->DataFileText()).split("\r\n");
        QCOMPARE(lines.at(2).split(QRegularExpression("\\s+")).at(4), QStringLiteral("240"));

        // After a switch to SI the configuration dialog shows metres.
        auto* csd = qobject_cast<TdlgCSD*>(dialogs_->ShowWallConfiguration());
        project_->SetUnitSystem(2);
        QCOMPARE(csd->FreeHeightBox()->text(), QStringLiteral("6.096"));
        QCOMPARE(csd->FreeHeightBox()->EditLabel()->text(),
                 QStringLiteral("&Free Height of Wall, H (m)"));
    }

    void uniformSurchargePerSquareFootIsHeldPerSquareInch() {
        auto* dlg = qobject_cast<TdlgCSD*>(dialogs_->ShowWallConfiguration());
        QCOMPARE(
            dlg->UniformSurchargeBox()->EditLabel()->text(),
            QStringLiteral("Uniform Distributed Load at the top of backfill side  (lbs/ft^2)"));
        Type(dlg->UniformSurchargeBox(), "144");
        QVERIFY(dlg->UniformSurchargeBox()->ExitCheck());
        QVERIFY(dlg->Deactivate());
        QCOMPARE(project_->UniformSurcharge, 1.0L);
        project_->UniformSurcharge = 2.5L;
        dlg->Activate();
        QCOMPARE(dlg->UniformSurchargeBox()->text(), QStringLiteral("360"));
    }

    void zeroIncrementsShowsTheMinimumAndHoldsOne() {
        auto* dlg = qobject_cast<TDlgProp*>(dialogs_->ShowWallProperties());
        project_->Increments = 40;
        dlg->Activate();
        Type(dlg->IncrementsBox(), "0");
        QVERIFY(!dlg->IncrementsBox()->ExitCheck());
        QCOMPARE(notifier_.Messages, QStringList{"Entry must be greater than or equal to 1"});
        QCOMPARE(dlg->IncrementsBox()->text(), QStringLiteral("1"));
        // The user was told and the box shows the limit: that is what is taken.
        QVERIFY(dlg->Deactivate());
        QCOMPARE(project_->Increments, 1);
        QCOMPARE(notifier_.Messages.size(), 1);
    }

    void unreadableEntryKeepsTheDialogOpen() {
        auto* dlg = qobject_cast<TDlgProp*>(dialogs_->ShowWallProperties());
        Type(dlg->IncrementLengthBox(), "6*");
        QVERIFY(!dlg->IncrementLengthBox()->ExitCheck());
        QCOMPARE(notifier_.Messages,
                 QStringList{"Entry could not be evaluated:\rinvalid expression"});
        QVERIFY(!dlg->close());
        QVERIFY(dlg->isVisible());
        QCOMPARE(project_->IncrementLength, 0.0L);
        // The same window comes forward on the next request.
        QCOMPARE(dialogs_->ShowWallProperties(), dlg);
        Type(dlg->IncrementLengthBox(), "6");
        QVERIFY(dlg->IncrementLengthBox()->ExitCheck());
        QVERIFY(dlg->close());
        QCOMPARE(project_->IncrementLength, 6.0L);
    }

    void backfillSlopeAboveTheLimit() {
        auto* dlg = qobject_cast<TdlgCSD*>(dialogs_->ShowWallConfiguration());
        Type(dlg->BackfillSlopeBox(), "60");
        QVERIFY(!dlg->BackfillSlopeBox()->ExitCheck());
        QCOMPARE(notifier_.Messages, QStringList{"Entry must be less than or equal to 45"});
        QCOMPARE(dlg->BackfillSlopeBox()->text(), QStringLiteral("45"));
        QCOMPARE(dlg->BackfillSlopeBox()->EditLabel()->text(),
                 QStringLiteral("Slope of the backfill, Beta (deg.)"));
    }

    void configurationLimits_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("message");
        QTest::newRow("Wa") << "Wa"
                            << "1300"
                            << "Entry must be less than or equal to 1200";
        QTest::newRow("Wp") << "Wp"
                            << "121"
                            << "Entry must be less than or equal to 120";
        QTest::newRow("factor") << "ActivePressureFactor"
                                << "1001"
                                << "Entry must be less than or equal to 1000";
        QTest::newRow("height") << "FreeHeight"
                                << "-2000000"
                                << "Entry must be greater than or equal to -1000000";
        QTest::newRow("slope") << "BackfillSlope"
                               << "-46"
                               << "Entry must be greater than or equal to -45";
    }
    void configurationLimits() {
        QFETCH(QString, box);
        QFETCH(QString, entry);
        QFETCH(QString, message);
        TDataDialog* dlg = dialogs_->ShowWallConfiguration();
        auto* edit = dlg->findChild<TDataEdit*>(box);
        QVERIFY(edit);
        Type(edit, entry);
        QVERIFY(!edit->ExitCheck());
        QCOMPARE(notifier_.Messages, QStringList{message});
    }

    void unitSwitchReloadsOpenDialogs() {
        project_->FreeHeight = 120.0L;  // 10 ft
        project_->IncrementLength = 12.0L;
        auto* prop = qobject_cast<TDlgProp*>(dialogs_->ShowWallProperties());
        QCOMPARE(prop->FreeHeightBox()->text(), QStringLiteral("10"));
        project_->SetUnitSystem(2);
        QCOMPARE(prop->FreeHeightBox()->text(), QStringLiteral("3.048"));
        QCOMPARE(prop->IncrementLengthBox()->text(), QStringLiteral("0.3048"));
        QCOMPARE(prop->IncrementLengthBox()->EditLabel()->text(),
                 QStringLiteral("Increment Length (m)"));
        // Unchanged boxes leave the held values exactly as they are.
        const long double held = project_->FreeHeight;
        QVERIFY(prop->Deactivate());
        QCOMPARE(project_->FreeHeight, held);
        project_->SetUnitSystem(3);
        QCOMPARE(prop->FreeHeightBox()->EditLabel()->text(),
                 QStringLiteral("Free Height of Wall (L2)"));
    }

    void titleIsOneLineOfEightyCharacters() {
        auto* dlg = qobject_cast<TdlgTitle*>(dialogs_->ShowTitle());
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Project Title"));
        QCOMPARE(dlg->TitleEdit()->text(), QStringLiteral("New Wall"));
        QCOMPARE(dlg->findChild<QLabel*>()->text(),
                 QStringLiteral("Enter text line for project description:"));
        QVERIFY(dlg->Deactivate());
        QVERIFY(!project_->Modified());

        QGuiApplication::clipboard()->setText("Sheet pile\r\nEast side\nphase 2");
        dlg->TitleEdit()->selectAll();
        dlg->TitleEdit()->paste();
        QCOMPARE(dlg->TitleEdit()->text(), QStringLiteral("Sheet pile East side phase 2"));
        QTest::keyClick(dlg->TitleEdit(), Qt::Key_Return);
        QCOMPARE(dlg->TitleEdit()->text(), QStringLiteral("Sheet pile East side phase 2"));
        Type(dlg->TitleEdit(), QString(90, u'x'));
        QCOMPARE(dlg->TitleEdit()->text().size(), 80);
        Type(dlg->TitleEdit(), "Sheet pile East");
        QVERIFY(dlg->Deactivate());
        QCOMPARE(project_->Title, QStringLiteral("Sheet pile East"));
        QVERIFY(project_->Modified());
    }

    void longTitleFromAFileIsNotCutUnlessEdited() {
        project_->Title = QString(100, u't');
        TDataDialog* dlg = dialogs_->ShowTitle();
        QVERIFY(dlg->Deactivate());
        QCOMPARE(project_->Title.size(), 100);
    }

    void oneInstanceEach() {
        TDataDialog* first = dialogs_->ShowTitle();
        QCOMPARE(dialogs_->ShowTitle(), first);
        QCOMPARE(area_->subWindowList().size(), 1);
        QVERIFY(first->parentWidget()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(area_->subWindowList().isEmpty());
        TDataDialog* second = dialogs_->ShowTitle();
        QVERIFY(second);
        QCOMPARE(area_->subWindowList().size(), 1);
    }

    void clearingConcentratedLoadsClosesTheTable() {
        project_->ApplyConcentratedLoads = true;
        auto* dlg = qobject_cast<TDlgConLoads*>(dialogs_->ShowConcentratedLoads());
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Concentrated Loads"));
        QCOMPARE(dlg->ApplyBox()->text(), QStringLiteral("Apply &Concentrated Loads"));
        QCOMPARE(dlg->EditButton()->text(), QStringLiteral("&Edit Concentrated Loads"));
        QVERIFY(dlg->ApplyBox()->isChecked());
        QVERIFY(dlg->EditButton()->isEnabled());
        tables_->BoundCond->Cell(3, 0).SetAsFloat(500.0L);
        QTest::mouseClick(dlg->EditButton(), Qt::LeftButton);
        QVERIFY(tables_->BoundCond->Editor());
        QCOMPARE(area_->subWindowList().size(), 2);

        QTest::mouseClick(dlg->ApplyBox(), Qt::LeftButton);
        QVERIFY(!dlg->ApplyBox()->isChecked());
        QVERIFY(!dlg->EditButton()->isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!tables_->BoundCond->Editor());
        QCOMPARE(area_->subWindowList().size(), 1);
        QVERIFY(project_->Modified());
        QVERIFY(dlg->Deactivate());
        QVERIFY(!project_->ApplyConcentratedLoads);
        QCOMPARE(tables_->BoundCond->Cell(3, 0).AsFloat(), 500.0L);  // rows stay

        // Ticked again: the button comes back and opens the table.
        QTest::mouseClick(dlg->ApplyBox(), Qt::LeftButton);
        QVERIFY(dlg->EditButton()->isEnabled());
        QVERIFY(dlg->close());
        QVERIFY(project_->ApplyConcentratedLoads);
    }

    void springRowsFromAFileTickTheSpringsBox() {
        QTemporaryDir dir;
        project_->ApplySprings = true;
        project_->Increments = 10;
        tables_->SoilStrength->Cell(0, 0).SetAsInteger(1);
        tables_->SoilStrength->Cell(1, 0).SetAsInteger(4);
        tables_->SoilStrength->Cell(2, 0).SetAsInteger(4);
        tables_->SoilStrength->Cell(3, 0).SetAsFloat(1000.0L);
        project_->FileName = dir.filePath("springs.kv5d");
        project_->WriteDataFile();
        project_->CreateFromFile(dir.filePath("springs.kv5d"));
        QVERIFY(project_->ApplySprings);
        auto* dlg = qobject_cast<TDlgSpring*>(dialogs_->ShowSprings());
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Lateral & Rotational Springs"));
        QCOMPARE(dlg->ApplyBox()->text(), QStringLiteral("&Lateral and Rotational Springs"));
        QCOMPARE(dlg->EditButton()->text(), QStringLiteral("&Edit Spring Stiffness"));
        QVERIFY(dlg->ApplyBox()->isChecked());
        QVERIFY(dlg->EditButton()->isEnabled());
    }

    void dialogsWithoutACheckBoxOpenTheirTables() {
        auto* tieback = qobject_cast<TDlgTieback*>(dialogs_->ShowTieback());
        QCOMPARE(tieback->windowTitle(), QStringLiteral("Tieback (Ground Anchor)"));
        QVERIFY(!tieback->ApplyBox());
        QCOMPARE(tieback->EditButton()->text(), QStringLiteral("&Enter Tieback data"));
        QTest::mouseClick(tieback->EditButton(), Qt::LeftButton);
        QVERIFY(tables_->TiebackTable1->Editor());

        auto* surcharge = qobject_cast<TDlgRebar*>(dialogs_->ShowSurcharge());
        QCOMPARE(surcharge->windowTitle(), QStringLiteral("Additional Surcharge"));
        QCOMPARE(surcharge->EditButton()->text(), QStringLiteral("&Edit Surcharge Loads"));
        QTest::mouseClick(surcharge->EditButton(), Qt::LeftButton);
        auto* form = qobject_cast<TTableForm*>(tables_->SurchargeTable->Editor());
        QVERIFY(form);
        QVERIFY(form->CommentsLabel()->text().contains("The unit for strip load is"));
    }

    void sectionButtonOpensTheStiffnessTable() {
        auto* dlg = qobject_cast<TDlgProp*>(dialogs_->ShowWallProperties());
        QCOMPARE(dlg->SectionButton()->text(), QStringLiteral("Enter Section Data"));
        QTest::mouseClick(dlg->SectionButton(), Qt::LeftButton);
        QVERIFY(tables_->PileSect->Editor());
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
