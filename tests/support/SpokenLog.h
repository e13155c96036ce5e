#pragma once

#include <QList>
#include <QStringList>

class LogList;

// The log's lines as a screen reader gets them: every cell's name as the
// view's accessible table tells it, once the view has taken the lines the
// commands appended. One list of the four column texts a line.
QList<QStringList> spokenLog(LogList &log);
