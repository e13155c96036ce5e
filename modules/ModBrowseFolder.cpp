#include "modules/ModBrowseFolder.h"

#include "modules/ModFindFile.h"
#include "platform/desktop/Dialogs.h"

QString BrowseForFolder(Dialogs &dialogs, const QString &title)
{
    QString folder = dialogs.chooseFolder(title);
    return ModFindFile::CutAtNull(folder);
}
