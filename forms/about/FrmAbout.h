#pragma once

#include <QWidget>

#include <array>

class QFrame;
class QLabel;
class QPushButton;

// The About window: the program's icon, title, version and description. It
// opens modeless and without an owner; its OK button, Enter and Escape all
// close it, and a closed one is gone, so the next opening loads it afresh.
class FrmAbout : public QWidget
{
    Q_OBJECT

public:
    FrmAbout();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void cmdOK_Click();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    std::array<QFrame *, 2> Line1 {};
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
};
