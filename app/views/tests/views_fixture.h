// A new project with its tables, for the geometry tests.
#pragma once

#include <gtest/gtest.h>

#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "project/program_data.h"

namespace korvel {

class ViewsTest : public ::testing::Test {
  protected:
    ViewsTest() { project.CreateNew(); }

    // An English wall of n increments of h inches, free height H inches.
    void Wall(int n, double h_inches, double free_height_inches) {
        project.Increments = n;
        project.IncrementLength = h_inches;
        project.FreeHeight = free_height_inches;
    }

    static void Row(TGridTable& table, int row, std::initializer_list<double> values) {
        if (table.RowCount() <= row) table.SetRowCount(row + 1);
        int column = 0;
        for (const double v : values) {
            if (table.Column(column).Kind() == TColumnKind::kFloat) {
                table.Cell(column, row).SetAsFloat(v);
            } else {
                table.Cell(column, row).SetAsInteger(static_cast<int>(v));
            }
            ++column;
        }
    }

    TProgramTables tables;
    TProgramData project{tables};
};

}  // namespace korvel
