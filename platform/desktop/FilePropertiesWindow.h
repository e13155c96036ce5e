#pragma once

#include "platform/files/FileSystem.h"

#include <QWidget>

class QLabel;

// Our own properties window for one file, for a desktop whose file manager
// offers none: name, type, location, size, the three times in the lists'
// format, whether it is read-only and its owner. Modeless; it goes when
// closed. Each value's label carries the field's key as its object name.
class FilePropertiesWindow : public QWidget
{
    Q_OBJECT

public:
    FilePropertiesWindow(
        const QString &path, const FileSystem::EntryStatus &status, QWidget *owner = nullptr);

    static constexpr const char *Fields[] = {
        "name", "type", "location", "size", "created", "modified", "accessed", "readOnly", "owner"};
};
