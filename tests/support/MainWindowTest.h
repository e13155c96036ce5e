#pragma once

#include "FakeDesktopShell.h"
#include "FakeDialogs.h"
#include "WindowControls.h"
#include "core/GridSchema.h"
#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"

#include <QObject>
#include <QPushButton>

// Window tests name the grids' columns as the schema does.
namespace ScanColumn = GridSchema::ScanColumn;
namespace CompareColumn = GridSchema::CompareColumn;

// The main window under test: made anew for each case with fresh dialogs
// and desktop services that answer its requests and record them; controls
// are found by their design names.
template<typename TestDialogs = FakeDialogs>
class MainWindowTest : public QObject
{
protected:
    void openWindow()
    {
        m_dialogs = TestDialogs();
        m_desktop = FakeDesktopShell();
        m_window = new FrmMain(m_dialogs, m_desktop);
    }
    void closeWindow()
    {
        delete m_window;
        m_window = nullptr;
    }

    template<typename T>
    T *find(const QString &name) const
    {
        return control<T>(m_window, name);
    }
    FlexGrid *scanGrid() const { return find<FlexGrid>(QStringLiteral("MSHList")); }
    FlexGrid *compareGrid() const { return find<FlexGrid>(QStringLiteral("MSH1")); }
    StatusBar *statusBar() const { return find<StatusBar>(QStringLiteral("SBar1")); }
    QString panel(int n) const { return statusBar()->panelText(n); }
    void press(const char *button) { find<QPushButton>(QString::fromLatin1(button))->click(); }

    TestDialogs m_dialogs;
    FakeDesktopShell m_desktop;
    FrmMain *m_window = nullptr;
};
