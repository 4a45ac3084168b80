#pragma once

// Test helper: a data table of one column holding a whole row, so a test
// fetches its row at once and each row stays on one line:
//   rows<Case>({{"name", {1, "text"}}, ...});  then  QFETCH(Case, row);
// Case needs Q_DECLARE_METATYPE.

#include <QTest>
#include <initializer_list>
#include <utility>

template <typename Row>
void rows(std::initializer_list<std::pair<const char*, Row>> table) {
    QTest::addColumn<Row>("row");
    for (const auto& [name, row] : table)
        QTest::newRow(name) << row;
}
