#include "forms/main/FrmMain.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkor"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));

    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtDialogs dialogs;
    FrmMain window(dialogs);
    dialogs.setParent(&window);
    window.show();
    return QApplication::exec();
}
