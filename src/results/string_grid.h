// A grid of text cells with a title row and a title column that stay in place while the rest
// scrolls, addressed as (column, row) with the titles at column 0 and row 0.
#pragma once

#include <QTableWidget>

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

private:
    QTableWidgetItem* ItemAt(int column, int row) const;
};

}  // namespace results
