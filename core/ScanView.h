#pragma once

#include "core/ScanOutcome.h"

#include <QString>

class FileCatalogue;

// What the scan command needs of the main window: both result grids, the
// scan grid's drawing, the result tab, status panels 1 and 2, the folder
// walk that fills the scan grid, and the messages. The window implements it
// over its controls; tests record the calls.
class ScanView
{
public:
    virtual ~ScanView() = default;

    virtual void resetGrids() = 0; // InitGrid(2): the scan and the compare grid
    virtual void setScanGridRedraw(bool on) = 0;
    virtual void setScanStatus(const QString &text) = 0; // panel 1
    virtual void setCompareStatus(const QString &text) = 0; // panel 2
    virtual void showScanTab() = 0; // tab 1 of the result tabs
    // Whether the folder text names something a scan can start from.
    virtual bool folderExists(const QString &folder) = 0;
    // Walks folder for pattern, appending each accepted file to the
    // catalogue and to the scan grid together and naming every examined
    // entry in panel 1, or how far it is once it runs long; the user may
    // cancel it. A failure passes on with what was accepted still listed.
    virtual ScanOutcome scanFolder(
        const QString &folder, const QString &pattern, FileCatalogue &catalogue)
        = 0;
    virtual void dropTrailingRow() = 0;
    // The application's title, no icon, OK.
    virtual void showMessage(const QString &text) = 0;
    // Every notice of the program is titled alike.
    virtual void showNotice(const QString &text) = 0;
};
