#pragma once
// The term table: one row of bookkeeping per line of the lesson text, five
// text columns, never fewer than one row (with no terms it holds one row whose
// cells are all empty), as the grid the program has always kept it in.
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

private:
    std::vector<std::array<QString, ColCount>> m_rows;
};

} // namespace korvana
