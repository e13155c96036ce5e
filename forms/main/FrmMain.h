#pragma once

#include "core/CompareCriteria.h"
#include "core/ContentCache.h"
#include "core/FileCatalogue.h"
#include "core/ListedContent.h"
#include "core/PendingList.h"

#include <QMainWindow>

#include <array>

class Dialogs;
class FlexGrid;
class LogList;
class StatusBar;
class TabStrip;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

// The program's only working window: scan and compare settings, the two
// result grids, the processing log and the status bar. Handlers keep the
// names of their control and event; their bodies call into modules/ and
// core/.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit FrmMain(Dialogs &dialogs, QWidget *parent = nullptr);
    ~FrmMain() override;

    // Resets a grid: 0 the scan grid, 1 the compare grid, 2 both.
    void InitGrid(int which);

    // The records of the last scan; record k is shown in scan-grid row k + 1
    // right after the scan.
    FileCatalogue &catalogue() { return m_catalogue; }

    // Fills the pending list with the selected files of the grid that has
    // the focus, marking and logging each selected cell it examines.
    void SelFileList();
    const PendingList &pending() const { return m_pending; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // make-up and start-up
    void createControls();
    void createMenus();
    void connectSignals();
    void Form_Load();
    void TabStrip1_Click();

    // scan
    void CommandSelectPath_Click();
    void CommandStartScan_Click();

    // compare
    void Check1_Click(int index);
    void TabStrip2_Click();
    void CommandToCompare_Click();

    // batch
    void DuplicatedList();
    void CommandDelFile_Click();
    void CommandMoveTo_Click();
    // After the shell request: on success the totals go to the panel and the
    // compare list is emptied; the pending list is emptied either way.
    void finishBatch(int result, int panel, const QString &prefix);

    // grid interaction
    void connectGridSignals();
    void Grid_MouseUp(FlexGrid &grid, int button);
    void Grid_MouseMove(FlexGrid &grid);
    // The wheel over a grid: a whole notch without modifiers moves the
    // current row as an arrow key does.
    void WheelHookProc(FlexGrid &grid, int delta, int shift);
    void FileReName_Click();

    // commands on the selection
    void AddLogEntry(const QString &itemText, const QString &resultText);
    void DeleteFile_Click();
    void MoveFileTo_Click();
    void MoveFromList_Click();
    void ClearList_Click();
    void SendFileTo_Click();
    // The grid with the input focus, the one the commands on the selection
    // act on; null when the focus is elsewhere.
    FlexGrid *activeGrid() const;
    // After a delete or move: every selected file still at its old path is
    // marked red and logged with failedText, every other one logged as done.
    void checkSelectedFiles(const QString &failedText, const QString &doneText,
        const QString &doneFile1Text, bool bothNamesNeeded);

    Dialogs &m_dialogs;

    // window-level state
    FileCatalogue m_catalogue;
    CompareCriteria m_compareCriteria;
    ContentCache m_contentCache; // digests read in this session
    ListedContent m_listedContent; // what the listed compare's content check saw
    QList<int> m_sortDirections1;
    QList<int> m_sortDirections2;
    PendingList m_pending;
    QString targetFolder; // destination of the last move or send-to
    qint32 m_logCounter = 0;
    int m_wheelDelta = 0; // parts of a notch not yet turned into a move

    // controls, named as designed
    TabStrip *TabStrip2 = nullptr;
    QLabel *Label2 = nullptr;
    QGroupBox *FrameFile = nullptr;
    std::array<QLabel *, 3> Label3 {};
    QLineEdit *Text1 = nullptr;
    QPushButton *CommandSelectPath = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *CommandStartScan = nullptr;
    // No box 1: the folder is never compared. Box 7 is the content.
    std::array<QCheckBox *, 8> Check1 {};
    QComboBox *Combo3 = nullptr;
    QPushButton *CommandToCompare = nullptr;
    QLabel *Image3 = nullptr;
    std::array<QLabel *, 2> Label1 {};
    TabStrip *TabStrip1 = nullptr;
    QFrame *Frame1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QPushButton *CommandDelFile = nullptr;
    QPushButton *CommandMoveTo = nullptr;
    std::array<QFrame *, 2> FrameTab {};
    FlexGrid *MSHList = nullptr;
    FlexGrid *MSH1 = nullptr;
    QPushButton *Command1 = nullptr;
    QFrame *Picture2 = nullptr;
    QLabel *Image1 = nullptr;
    LogList *ListView1 = nullptr;
    StatusBar *SBar1 = nullptr;
    QFrame *Picture1 = nullptr;
    QLabel *Image2 = nullptr;

    // menus
    QMenu *EditFile = nullptr;
    QAction *Open = nullptr;
    QAction *OpenShowFolder = nullptr;
    QAction *MoveFromList = nullptr;
    QAction *MoveFileTo = nullptr;
    QAction *SendFileTo = nullptr;
    QAction *DeleteFile = nullptr;
    QAction *CopyFileTo = nullptr;
    QAction *FileReName = nullptr;
    QAction *ClearList = nullptr;
    QAction *FileOption = nullptr;
    QMenu *ListSort1 = nullptr;
    QMenu *ListSort2 = nullptr;
    QList<QAction *> ListSortMnu1;
    QList<QAction *> ListSortMnu2;
    QAction *ShowAbout = nullptr;
    QAction *MnuHelp = nullptr;
};
