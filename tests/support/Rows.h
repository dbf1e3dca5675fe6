#pragma once

#include <QList>
#include <QTest>

namespace tavorin::test {

// A data-driven table as one struct column "row", one row a line; each row's first member is
// its name: `AddRows<Row>({{"empty", ...}, ...});` in the _data slot, `QFETCH(Row, row);`.
template <typename Row> void AddRows(const QList<Row>& rows) {
    QTest::addColumn<Row>("row");
    for (const Row& r : rows)
        QTest::newRow(r.name) << r;
}

} // namespace tavorin::test
