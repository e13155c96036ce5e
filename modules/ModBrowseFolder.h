#pragma once

#include <QString>

class Dialogs;

// The folder picker shared by the scan, the batch move, the move of selected
// rows and the send-to command: the platform's folder dialog restricted to
// folders, titled as the caller says. Empty when the user cancels.
QString BrowseForFolder(Dialogs &dialogs, const QString &title);
