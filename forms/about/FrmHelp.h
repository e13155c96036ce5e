#pragma once

#include <QWidget>

class QPlainTextEdit;

// The Help window: the user's guide in one scrolling text box. It opens
// modeless and without an owner and reads or changes nothing of the main
// window.
class FrmHelp : public QWidget
{
    Q_OBJECT

public:
    FrmHelp();

private:
    QPlainTextEdit *Text1 = nullptr;
};
