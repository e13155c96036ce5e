#include "core/ProgramVersion.h"
#include "forms/main/FrmMain.h"
#include "platform/desktop/QtDialogs.h"
#include "platform/desktop/XdgDesktopShell.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkor"));
    QApplication::setApplicationVersion(programVersion());
    // The desktop matches the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELKOR_APP_ID));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));

    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtDialogs dialogs;
    XdgDesktopShell desktop;
    FrmMain window(dialogs, desktop);
    dialogs.setParent(&window);
    window.show();
    return QApplication::exec();
}
