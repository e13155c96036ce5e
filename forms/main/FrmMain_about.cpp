// The About and Help windows from the menu bar: each opens modeless and
// without an owner, and an open one is brought forward, not loaded again.
#include "forms/main/FrmMain.h"

#include "forms/about/FrmAbout.h"
#include "forms/about/FrmHelp.h"

namespace {

template<typename Window>
void showOnce(QPointer<Window> &window)
{
    if (!window)
        window = new Window;
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void FrmMain::ShowAbout_Click()
{
    showOnce(m_about);
}

void FrmMain::MnuHelp_Click()
{
    showOnce(m_help);
}
