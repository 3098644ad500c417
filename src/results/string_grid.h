// A grid of text cells with a title row and a title column that stay in place while the rest
// scrolls, addressed as (column, row) with the titles at column 0 and row 0. It takes the
// keyboard focus and moves from cell to cell by the arrow keys; Tab leaves it.
#pragma once

#include <QTableWidget>
#include <functional>

namespace results {

class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    // `columns` and later row counts include the title column and row. Sizes are the cell and
    // its grid line together.
    StringGrid(QWidget* parent, int columns, int columnWidth, int rowHeight);

    int RowCount() const { return rowCount() + 1; }
    void SetRowCount(int rows);
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);

    // What a screen reader reads of a cell (not a title), made when it is asked for from the
    // cell's place and text.
    using CellReading = std::function<QString(int column, int row, const QString& text)>;
    void SetCellReading(CellReading reading) { cellReading_ = std::move(reading); }
    const CellReading& ReadingOfCells() const { return cellReading_; }

private:
    QTableWidgetItem* ItemAt(int column, int row) const;

    CellReading cellReading_;
};

}  // namespace results
