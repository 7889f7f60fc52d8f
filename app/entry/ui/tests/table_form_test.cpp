#include "entry/ui/table_form.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QtTest>
#include <memory>

#include "entry/grid_column.h"
#include "entry/table_definitions.h"
#include "entry/ui/table_grid.h"
#include "entry/ui/table_item_model.h"
#include "recording_notifier.h"

using namespace korvel;

class TableFormTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void refusedEntryIsReportedAndKeptOut_data();
    void refusedEntryIsReportedAndKeptOut();
    void headerShowsCaptionLinesAndUnits();
    void choiceColumnsShowTheirLongestItemWhole();
    void rowButtonsFollowTheLimits();
    void insertAndDeleteNeedACurrentRow();
    void choiceChangeReplacesTheSubTableWindow();
    void deletingALayerRenumbersTheButtons();
    void enterMovesDownThenAcross();
    void windowWithARefusedEntryDoesNotClose();
    void subTableWindowsOpenInTheMdiArea();
    void invisibleColumnsAndEmbeddedWindows();

  private:
    // Opens the cell's editor, types text and presses Enter.
    QLineEdit* TypeIntoCell(TTableForm& form, int row, int column, const QString& text);

    std::unique_ptr<TRecordingNotifier> notifier_;
    std::unique_ptr<TProgramTables> tables_;
};

void TableFormTest::init() {
    notifier_ = std::make_unique<TRecordingNotifier>();
    tables_ = std::make_unique<TProgramTables>();
}

void TableFormTest::cleanup() {
    // Windows close before their tables go. Deleting one window may delete others
    // (drop-down lists of its cells), so hold them by guarded pointers.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->parent()) windows.append(w);
    }
    for (const QPointer<QWidget>& w : windows) delete w.data();
    tables_.reset();
    notifier_.reset();
}

QLineEdit* TableFormTest::TypeIntoCell(TTableForm& form, int row, int column, const QString& text) {
    TGridView* grid = form.Grid();
    const QModelIndex index = grid->model()->index(row, column);
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
    if (!editor) return nullptr;
    editor->clear();
    QTest::keyClicks(editor, text);
    // The view commits an Enter on its next turn of the event loop.
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    return editor;
}

void TableFormTest::refusedEntryIsReportedAndKeptOut_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");

    QTest::newRow("node above limit") << "BoundCond" << 1 << "2147483647"
                                      << "Entry must be between 0 and 2147483600."
                                      << "0";
    QTest::newRow("fractional node") << "PileSect" << 0 << "2.5"
                                     << "Entry must be an integer."
                                     << "0";
    QTest::newRow("blank real") << "PileSect" << 3 << ""
                                << "Entry cannot be blank."
                                << "0";
    QTest::newRow("text in real") << "TiebackTable1" << 4 << "ten"
                                  << "ten is not a valid number."
                                  << "0";
}

void TableFormTest::refusedEntryIsReportedAndKeptOut() {
    QFETCH(QString, table);
    QFETCH(int, column);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    QFETCH(QString, stored);

    TGridTable& grid_table = *tables_->FindByName(table);
    TTableForm* form = TTableForm::ShowTable(grid_table, nullptr);
    QVERIFY(form);
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QVERIFY(TypeIntoCell(*form, 0, column, entry));
    QTRY_COMPARE(notifier_->Messages, QStringList{message});
    QCOMPARE(grid_table.Cell(column, 0).AsString(), stored);
    QVERIFY(!grid_table.Modified());

    // The user is back in the cell with the text typed, and can correct it.
    const QModelIndex index = form->Grid()->model()->index(0, column);
    QCOMPARE(form->Grid()->currentIndex(), index);
    auto* editor = qobject_cast<QLineEdit*>(form->Grid()->indexWidget(index));
    QVERIFY(editor);
    QCOMPARE(editor->text(), entry);
    editor->selectAll();
    QTest::keyClicks(editor, "3*4");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(grid_table.Cell(column, 0).AsString(), QString("12"));
    QVERIFY(grid_table.Modified());
    QCOMPARE(notifier_->Messages.size(), 1);
    QCOMPARE(form->Grid()->model()->index(0, column).data().toString(), QString("12"));
}

// "Stiff Clay with Free water" (long-term layers) and "Use Constant Value for
// ..." (springs) fit their columns with the drop-down's arrow beside them.
void TableFormTest::choiceColumnsShowTheirLongestItemWhole() {
    for (TGridTable* table : {tables_->LongSoil.get(), tables_->SoilStrength.get()}) {
        TTableForm* form = TTableForm::ShowTable(*table, nullptr);
        const auto& items = static_cast<const TEnumColumn&>(table->Column(0)).Items;
        int widest = 0;
        for (const QString& item : items)
            widest = std::max(widest, form->Grid()->fontMetrics().horizontalAdvance(item));
        const int arrow = form->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        QVERIFY2(form->Grid()->columnWidth(0) >= widest + arrow,
                 qPrintable(QStringLiteral("%1: %2 < %3 + %4")
                                .arg(table->objectName())
                                .arg(form->Grid()->columnWidth(0))
                                .arg(widest)
                                .arg(arrow)));
    }
}

void TableFormTest::headerShowsCaptionLinesAndUnits() {
    TTableForm* form = TTableForm::ShowTable(*tables_->NewSoil, nullptr);
    QAbstractItemModel* model = form->Grid()->model();
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("Soil\nType"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(),
             QString("Depth at Bottom\nof the Layer, (ft)  "));
    tables_->NewSoil->SetUnitSystem(2);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(),
             QString("Depth at Bottom\nof the Layer, (m)  "));
    QCOMPARE(form->windowTitle(), QString("Soil Layers "));
    // The choice drop-down and the flex button are in place.
    QComboBox* box = form->ChoiceBox(0, 0);
    QVERIFY(box);
    QCOMPARE(box->count(), 7);
    QCOMPARE(box->currentText(), QString("Soft Clay"));
    QVERIFY(form->FlexButton(2, 0));
    QCOMPARE(form->FlexButton(2, 0)->text(), QString("1: Clay"));
    QVERIFY(!form->CommentsLabel()->isVisibleTo(form));
}

void TableFormTest::rowButtonsFollowTheLimits() {
    TTableForm* soil = TTableForm::ShowTable(*tables_->NewSoil, nullptr);
    QVERIFY(soil->AddRowButton()->isVisibleTo(soil));
    QVERIFY(soil->AddRowButton()->isEnabled());
    QVERIFY(!soil->DeleteRowButton()->isEnabled());  // at MinRows
    QTest::mouseClick(soil->AddRowButton(), Qt::LeftButton);
    QCOMPARE(tables_->NewSoil->RowCount(), 2);
    QVERIFY(tables_->NewSoil->Modified());
    QVERIFY(soil->DeleteRowButton()->isEnabled());
    while (tables_->NewSoil->RowCount() < 10)
        QTest::mouseClick(soil->AddRowButton(), Qt::LeftButton);
    QVERIFY(!soil->AddRowButton()->isEnabled());
    QVERIFY(!soil->InsertRowButton()->isEnabled());

    // Soil parameter tables have MinRows = MaxRows = 2: no row buttons at all.
    TTableForm* clay = TTableForm::ShowTable(*tables_->NewSoil->Cell(2, 0).AsTable(), nullptr);
    QVERIFY(!clay->AddRowButton()->isVisibleTo(clay));
    QVERIFY(!clay->DeleteRowButton()->isVisibleTo(clay));
    QVERIFY(clay->CommentsLabel()->isVisibleTo(clay));
    QVERIFY(clay->CommentsLabel()->text().startsWith("The user may optionally enter"));

    // No upper limit: Add stays enabled.
    TTableForm* long_dist = TTableForm::ShowTable(*tables_->LongDist, nullptr);
    for (int i = 0; i < 12; ++i) QTest::mouseClick(long_dist->AddRowButton(), Qt::LeftButton);
    QCOMPARE(tables_->LongDist->RowCount(), 13);
    QVERIFY(long_dist->AddRowButton()->isEnabled());
}

void TableFormTest::insertAndDeleteNeedACurrentRow() {
    TTableForm* form = TTableForm::ShowTable(*tables_->BoundCond, nullptr);
    QTest::mouseClick(form->AddRowButton(), Qt::LeftButton);
    form->Grid()->setCurrentIndex(QModelIndex());
    QTest::mouseClick(form->DeleteRowButton(), Qt::LeftButton);
    QCOMPARE(notifier_->Messages, QStringList{"Grid.Row not in valid range"});
    QCOMPARE(tables_->BoundCond->RowCount(), 2);
}

void TableFormTest::choiceChangeReplacesTheSubTableWindow() {
    TGridTable& soil = *tables_->NewSoil;
    soil.SetRowCount(2);
    TTableForm* form = TTableForm::ShowTable(soil, nullptr);
    QPushButton* button = form->FlexButton(2, 1);
    QCOMPARE(button->text(), QString("2: Clay"));
    QTest::mouseClick(button, Qt::LeftButton);
    TGridTable* clay = soil.Cell(2, 1).AsTable();
    QPointer<TTableForm> clay_form = qobject_cast<TTableForm*>(clay->Editor());
    QVERIFY(clay_form);
    QCOMPARE(clay_form->windowTitle(), QString("Clay  2"));

    QComboBox* box = form->ChoiceBox(0, 1);
    box->setCurrentIndex(3);
    Q_EMIT box->activated(3);  // the user picks Sand
    QCOMPARE(soil.Cell(0, 1).AsInteger(), 4);
    QCOMPARE(soil.Cell(2, 1).AsTable()->Caption(), QString("Sand"));
    QCOMPARE(form->FlexButton(2, 1)->text(), QString("2: Sand"));
    QVERIFY(soil.Modified());
    QTRY_VERIFY(!clay_form);  // the old parameter window went with its table
}

void TableFormTest::deletingALayerRenumbersTheButtons() {
    TGridTable& soil = *tables_->NewSoil;
    soil.SetRowCount(3);
    soil.Cell(0, 2).SetAsInteger(4);
    TTableForm* form = TTableForm::ShowTable(soil, nullptr);
    QTest::mouseClick(form->FlexButton(2, 2), Qt::LeftButton);
    auto* sand_form = qobject_cast<TTableForm*>(soil.Cell(2, 2).AsTable()->Editor());
    QVERIFY(sand_form);
    QCOMPARE(sand_form->windowTitle(), QString("Sand  3"));
    form->Grid()->setCurrentIndex(form->Grid()->model()->index(0, 1));
    QTest::mouseClick(form->DeleteRowButton(), Qt::LeftButton);
    QCOMPARE(soil.RowCount(), 2);
    QCOMPARE(form->FlexButton(2, 0)->text(), QString("1: Clay"));
    QCOMPARE(form->FlexButton(2, 1)->text(), QString("2: Sand"));
    QCOMPARE(sand_form->windowTitle(), QString("Sand  2"));
}

void TableFormTest::enterMovesDownThenAcross() {
    TTableForm* form = TTableForm::ShowTable(*tables_->PYMod, nullptr);  // 2 rows, 3 columns
    TGridView* grid = form->Grid();
    QAbstractItemModel* model = grid->model();
    grid->setFocus();
    grid->setCurrentIndex(model->index(0, 0));
    const std::pair<int, int> path[] = {{1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 0}};
    for (const auto& [row, column] : path) {
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(grid->currentIndex(), model->index(row, column));
    }
    // Enter in an editor commits and moves down as well.
    TypeIntoCell(*form, 0, 1, "2.5");
    QTRY_COMPARE(tables_->PYMod->Cell(1, 0).AsFloat(), 2.5L);
    QTRY_COMPARE(grid->currentIndex(), model->index(1, 1));
}

void TableFormTest::windowWithARefusedEntryDoesNotClose() {
    TTableForm* form = TTableForm::ShowTable(*tables_->PileSect, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(form));
    TGridView* grid = form->Grid();
    const QModelIndex index = grid->model()->index(0, 3);
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
    QVERIFY(editor);
    QTest::keyClicks(editor, "1+");
    QVERIFY(!form->close());
    QTRY_COMPARE(notifier_->Messages, QStringList{"1+ is not a valid number."});
    QVERIFY(form->isVisible());
}

void TableFormTest::subTableWindowsOpenInTheMdiArea() {
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    TTableForm* form = TTableForm::ShowTable(*tables_->MEICurves2, &area);
    QVERIFY(form);
    QCOMPARE(area.subWindowList().size(), 1);
    QCOMPARE(TTableForm::ShowTable(*tables_->MEICurves2, &area), form);  // one window per table
    QCOMPARE(form->FlexButton(2, 0)->text(), QString("1: Moment and EI data"));
    QTest::mouseClick(form->FlexButton(2, 0), Qt::LeftButton);
    QCOMPARE(area.subWindowList().size(), 2);
    // Closing the parent window closes the sub-table window too.
    form->Container()->close();
    QTRY_COMPARE(area.subWindowList().size(), 0);
    QTRY_COMPARE(tables_->MEICurves2->Editor(), nullptr);
}

void TableFormTest::invisibleColumnsAndEmbeddedWindows() {
    TTableRegistry registry;
    TGridTable table(registry);
    table.AddFloatColumn({"Hidden"}).Visible = false;
    QCOMPARE(TTableForm::ShowTable(table, nullptr), nullptr);  // nothing to show
    table.AddFloatColumn({"Shown"}, "L");
    table.SetRowCount(1);
    table.Cell(1, 0).SetAsFloat(4.5L);

    QWidget host;
    table.SetFormParent(&host);
    TTableForm* form = TTableForm::ShowTable(table, nullptr);
    QVERIFY(form);
    QCOMPARE(form->parentWidget(), &host);
    QVERIFY(!form->isWindow());
    QCOMPARE(form->Grid()->model()->columnCount(), 1);
    QCOMPARE(form->Grid()->model()->index(0, 0).data().toString(), QString("4.5"));
    QCOMPARE(form->Grid()->model()->headerData(0, Qt::Horizontal).toString(),
             QString("Shown (in)  "));
    delete form;
    QCOMPARE(table.Editor(), nullptr);
}

QTEST_MAIN(TableFormTest)
#include "table_form_test.moc"
