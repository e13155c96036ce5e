// The processing log: one line per file and event of the commands on the
// selection, numbered over the program's whole run.
#include "forms/main/FrmMain.h"

#include "core/DateTimeText.h"
#include "platform/widgets/LogList.h"

#include <QDateTime>

void FrmMain::AddLogEntry(const QString &itemText, const QString &resultText)
{
    ++m_logCounter;
    const int line = ListView1->addItem(QString::number(m_logCounter));
    ListView1->setSubItem(line, 1, itemText);
    ListView1->setSubItem(line, 2, resultText);
    ListView1->setSubItem(line, 3, DateTimeText::format(QDateTime::currentDateTime()));
    ListView1->selectItem(ListView1->itemCount() - 1);
    ListView1->ensureVisible(ListView1->itemCount() - 1);
}
