// The processing log: one line per file and event of the commands on the
// selection, numbered over the program's whole run.
#include "forms/main/FrmMain.h"

#include "platform/widgets/LogList.h"

void FrmMain::AddLogEntry(const QString &itemText, const QString &resultText)
{
    ListView1->addLine(itemText, resultText);
}
