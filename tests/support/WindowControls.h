#pragma once

#include <QWidget>

// Finds a window's control by its design name, failing the test run loudly
// when the make-up lacks it.
template<typename T>
T *control(const QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}
