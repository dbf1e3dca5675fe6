#pragma once

#include <QTest>

namespace tavorin::test {

// A data-driven test's table: one struct a row, its first member the row's name.
template <typename Row, size_t N> void AddRows(const Row (&table)[N]) {
    QTest::addColumn<Row>("row");
    for (const Row& row : table)
        QTest::newRow(row.name) << row;
}

} // namespace tavorin::test
