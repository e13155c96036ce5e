#include "forms/main/FrmMain.h"

#include "platform/Dialogs.h"

FrmMain::FrmMain(Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
{
}

FrmMain::~FrmMain() = default;
