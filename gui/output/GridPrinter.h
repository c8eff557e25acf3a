#pragma once
// Printing of a grid: the table over as many pages as it needs, first down then across, with
// the header row and the frozen columns (the row-header column included) on every page, the
// title at the top and the page number at the bottom of each page.
#include <QFont>
#include <QString>

#include <vector>

class QPrinter;

namespace frusta::gui {

class GridModel;

struct GridPrintLayout {
    QString title;
    QFont font;
    int frozenColumns = 0;
    int rowHeight = 18;
    int headerHeight = 20;
    std::vector<int> widths; // grid columns 0 (row header) to the column count, in pixels
};

// The grid columns (after the frozen ones) that each page across shows.
std::vector<std::pair<int, int>> printColumnBands(const GridPrintLayout& layout, int pageWidth);

// Prints the grid and returns the number of pages.
int printGrid(QPrinter& printer, const GridModel& model, const GridPrintLayout& layout);

} // namespace frusta::gui
