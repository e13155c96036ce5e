#include "SpokenLog.h"

#include "platform/widgets/LogList.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QCoreApplication>

QList<QStringList> spokenLog(LogList &log)
{
    QCoreApplication::processEvents();
    QList<QStringList> lines;
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(&log);
    QAccessibleTableInterface *table = view ? view->tableInterface() : nullptr;
    if (!table)
        return lines;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList line;
        for (int col = 0; col < table->columnCount(); ++col) {
            QAccessibleInterface *cell = table->cellAt(row, col);
            line << (cell ? cell->text(QAccessible::Name) : QString());
        }
        lines << line;
    }
    return lines;
}
