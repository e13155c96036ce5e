#pragma once

#include <QMainWindow>

class Dialogs;

// The program's only working window.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit FrmMain(Dialogs &dialogs, QWidget *parent = nullptr);
    ~FrmMain() override;

private:
    Dialogs &m_dialogs;
};
