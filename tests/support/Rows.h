#pragma once

#include <QTest>

namespace tavorin::test {

// A data-driven table as one struct column "row", one row a line; each row's first member is
// its name: `AddRows<Row>({{"empty", ...}, ...});` or `AddRows(kRows)` in the _data slot.
template <typename Row, size_t N> void AddRows(const Row (&rows)[N]) {
    QTest::addColumn<Row>("row");
    for (const Row& r : rows)
        QTest::newRow(r.name) << r;
}

} // namespace tavorin::test
