// The text grid: title cells in the table's headers, the others as its items.
#include "results/string_grid.h"

#include <QHeaderView>

#include "platform/controls.h"

namespace results {
namespace {

// A cell whose reading comes from its grid's rule.
class ReadCell : public QTableWidgetItem {
public:
    explicit ReadCell(const QString& text) : QTableWidgetItem(text) {}

    QVariant data(int role) const override {
        const auto* grid = static_cast<const StringGrid*>(tableWidget());
        if (role == Qt::AccessibleTextRole && grid && grid->ReadingOfCells()) {
            return grid->ReadingOfCells()(column() + 1, row() + 1, text());
        }
        return QTableWidgetItem::data(role);
    }
};

}  // namespace

StringGrid::StringGrid(QWidget* parent, int columns, int columnWidth, int rowHeight)
    : QTableWidget(0, columns - 1, parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setShowGrid(true);
    platform::SetColour(*this, QPalette::Base, Qt::white);
    setCursor(Qt::ForbiddenCursor);
    viewport()->setCursor(Qt::ForbiddenCursor);

    QHeaderView* titleRow = horizontalHeader();
    QHeaderView* titleColumn = verticalHeader();
    for (QHeaderView* header : {titleRow, titleColumn}) {
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        header->setHighlightSections(false);
        header->setSectionsClickable(false);
    }
    titleRow->setDefaultSectionSize(columnWidth);
    titleRow->setFixedHeight(rowHeight);
    titleColumn->setDefaultSectionSize(rowHeight);
    titleColumn->setFixedWidth(columnWidth);
    // Without items of their own the headers would show numbers.
    for (int c = 0; c < columnCount(); ++c) setHorizontalHeaderItem(c, new QTableWidgetItem);
}

void StringGrid::SetRowCount(int rows) {
    const int first = rowCount();
    setRowCount(rows - 1);
    for (int r = first; r < rowCount(); ++r) setVerticalHeaderItem(r, new QTableWidgetItem);
}

QTableWidgetItem* StringGrid::ItemAt(int column, int row) const {
    if (column == 0 && row == 0) return nullptr;  // the top-left title cell stays empty
    if (row == 0) return horizontalHeaderItem(column - 1);
    if (column == 0) return verticalHeaderItem(row - 1);
    return item(row - 1, column - 1);
}

QString StringGrid::Cell(int column, int row) const {
    const QTableWidgetItem* cell = ItemAt(column, row);
    return cell ? cell->text() : QString();
}

void StringGrid::SetCell(int column, int row, const QString& text) {
    if (QTableWidgetItem* cell = ItemAt(column, row)) {
        cell->setText(text);
    } else if (row > 0 && column > 0) {
        setItem(row - 1, column - 1, new ReadCell(text));
    }
}

}  // namespace results
