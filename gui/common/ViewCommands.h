#pragma once
// What a child window's view offers to the main frame's Edit and File commands. The main
// frame asks the active child window's widget; views that offer nothing leave them off.
class QPrinter;

namespace frusta::gui {

class ViewCommands {
public:
    virtual ~ViewCommands() = default;
    virtual bool canCopy() const { return false; }
    virtual void copy() {}
    virtual void selectAll() {}
    virtual bool canPrint() const { return false; }
    // Prints the view over as many pages as it needs.
    virtual void print(QPrinter& /*printer*/) {}
    // "Save chart as...": views that show a chart write it as a picture file.
    virtual bool canSaveChart() const { return false; }
    virtual void saveChartAs() {}
};

} // namespace frusta::gui
