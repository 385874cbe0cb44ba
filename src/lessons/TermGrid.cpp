#include "lessons/TermGrid.h"

namespace korvana {

TermGrid::TermGrid() : m_rows(1)
{
}

void TermGrid::setRowCount(int count)
{
    ++m_revision;
    m_rows.resize(size_t(count < 1 ? 1 : count));
    if (count < 1)
        m_rows[0] = {};
}

void TermGrid::clear()
{
    ++m_revision;
    m_rows.assign(1, {});
}

QString TermGrid::cell(int col, int row) const
{
    if (col < 0 || col >= ColCount || row < 0 || row >= rowCount())
        return {};
    return m_rows[size_t(row)][size_t(col)];
}

void TermGrid::setCell(int col, int row, const QString &value)
{
    if (col < 0 || col >= ColCount || row < 0 || row >= rowCount())
        return;
    ++m_revision;
    m_rows[size_t(row)][size_t(col)] = value;
}

} // namespace korvana
