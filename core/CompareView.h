#pragma once

#include "core/ColumnWidthTable.h"

#include <QFuture>
#include <QString>

#include <array>
#include <functional>

class GridRowSource;

// What the compare command needs of the main window: the compare grid, the
// result tab, status panel 2, the window lock and the notice. The window
// implements it over its controls; tests record the calls.
class CompareView
{
public:
    virtual ~CompareView() = default;

    virtual void resetCompareGrid() = 0; // InitGrid(1)
    virtual void showCompareTab() = 0; // tab 2 of the result tabs
    virtual void setCompareGridRedraw(bool on) = 0;
    // Locks (false) or unlocks (true) every button, box, tab strip, grid,
    // text box and combo box, with the wait pointer while locked.
    virtual void setControlsEnabled(bool enabled) = 0;
    // Shown at once with the status bar repainted; user input waits.
    virtual void showProgress(const QString &text) = 0;
    virtual void setResultText(const QString &text) = 0;
    // Inserts the rows in front of the grid's trailing empty row.
    virtual void insertRows(const GridRowSource &rows) = 0;
    virtual void dropTrailingRow() = 0;
    // Widens the file columns to the measured widths, never narrowing.
    virtual void widenColumns(const ColumnWidthTable::Widths &widths) = 0;
    virtual int measureCell(const QString &text) = 0;
    // Every notice of the program is titled alike.
    virtual void showNotice(const QString &text) = 0;
    // Waits for work on other threads, calling tick now and then; false
    // when the user cancelled. A view that can't take input just blocks.
    virtual bool waitFor(const QFuture<void> &work, const std::function<void()> &tick)
    {
        tick();
        QFuture<void>(work).waitForFinished();
        return true;
    }
};
