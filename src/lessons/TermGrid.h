#pragma once
// The term table: one row of bookkeeping per line of the lesson text, five
// text columns, never fewer than one row (with no terms it holds one row whose
// cells are all empty).
#include <QString>
#include <array>
#include <vector>

namespace korvana {

class TermGrid {
public:
    enum Column { TermKey = 0, ShownCount = 1, TermType = 2, TermStatus = 3, TermLesson = 4 };
    static constexpr int ColCount = 5;

    TermGrid();

    int rowCount() const { return int(m_rows.size()); }
    // Rows added are empty; rows dropped lose their cells. Below 1 keeps one row.
    void setRowCount(int count);
    // Empties every cell of every row and leaves the single empty row.
    void clear();

    // Out-of-range cells read as empty; writing one out of range does nothing.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &value);

    // Shorthands for the columns the program reads most.
    QString type(int row) const { return cell(TermType, row); }
    QString state(int row) const { return cell(TermStatus, row); }
    QString lesson(int row) const { return cell(TermLesson, row); }

    // Goes up with every change of a cell or of the row count, so a reader
    // that keeps a copy of some columns can tell when it is out of date.
    quint64 revision() const { return m_revision; }

private:
    std::vector<std::array<QString, ColCount>> m_rows;
    quint64 m_revision = 0;
};

} // namespace korvana
