#pragma once

#include "core/CompareCriteria.h"
#include "core/ComparedPairs.h"
#include "core/ContentCache.h"
#include "core/FileCatalogue.h"
#include "core/ListedContent.h"
#include "core/PendingList.h"
#include "core/ProtectedFolders.h"
#include "core/RemovalPreview.h"
#include "modules/GridFiles.h"
#include "modules/ModEditFile.h"
#include "modules/ModSetGrid.h"
#include "modules/RemovalHistory.h"
#include "platform/desktop/UserInputTime.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <optional>

class DesktopShell;
class Dialogs;
class FrmAbout;
class FrmHelp;
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
    FrmMain(Dialogs &dialogs, DesktopShell &desktop, QWidget *parent = nullptr);
    ~FrmMain() override;

    // The tabs of the result pages (TabStrip1) and the panels of the status
    // bar, by their designed numbers. The batch move reports in the scan
    // panel, the batch delete in the compare panel.
    enum ResultTab : int { ScanResults = 1, CompareResults = 2 };
    enum StatusPanel : int { ScanPanel = 1, ComparePanel = 2 };

    // Which grid InitGrid resets, by the designed selector; any other value
    // resets none.
    enum class Grids { Scan = 0, Compare = 1, Both = 2 };
    void InitGrid(Grids which);

    // The records of the last scan; record k is shown in scan-grid row k + 1
    // right after the scan.
    FileCatalogue &catalogue() { return m_catalogue; }

    // What the gathered files are for: a copy takes every file that is
    // there; a removal or move only a file still as its record says (and, in
    // a content list, with its twin as it was read).
    enum class Gathering { Copy, RemoveOrMove };
    // Fills the pending list with the selected files of the grid that has
    // the focus, marking and logging each selected cell it examines; false
    // when the command must stop (memory too short to log it), with the
    // user told and nothing queued.
    bool SelFileList(Gathering purpose = Gathering::Copy);
    const PendingList &pending() const { return m_pending; }
    // What the grids' highlight reactions remember between events.
    const ModSetGrid::Interaction &gridInteraction() const { return m_gridInteraction; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // make-up and start-up
    void createControls();
    void createMenus();
    void connectSignals();
    void Form_Load();
    void TabStrip1_Click();

    // scan
    // The one folder picker of the scan, the moves and the send-to, titled
    // alike; empty when the user cancels.
    QString chooseFolder();
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
    // After the shell request: each queued file is logged with its result;
    // on success the totals go to the panel and the compare list is emptied;
    // the pending list is emptied either way.
    struct BatchTexts
    {
        QString done;
        QString failed;
    };
    void finishBatch(int result, const ModEditFile::Handled &handled, StatusPanel panel,
        const QString &prefix, const BatchTexts &texts);

    // preview of what the batch takes
    void connectPreviewSignals();
    void CheckPreview_Click();
    // Decides the listed pairs again and shows the result, while ticked.
    void updatePreview();
    // The list changed: one update once the change is over.
    void schedulePreview();

    // grid interaction
    void connectGridSignals();
    void Grid_MouseUp(FlexGrid &grid, int button);
    void Grid_MouseMove(FlexGrid &grid);
    // The wheel over a grid: a whole notch without modifiers moves the
    // current row as an arrow key does.
    void WheelHookProc(FlexGrid &grid, int delta, int shift);

    // commands on the current file
    void Open_Click();
    void OpenShowFolder_Click();
    void FileOption_Click();
    void FileReName_Click();
    void ProtectFolder_Click();
    void UnprotectFolder_Click();
    // The protected folders changed: the grids and the preview show it.
    void protectionChanged();
    // The file of the focused grid's current cell that open, reveal and
    // properties act on; none for a cell that names no file.
    std::optional<GridFiles::ListedFile> currentFile() const;

    // sorting
    void ListSortMnu1_Click(int index);
    void ListSortMnu2_Click(int index);
    void Command1_Click();
    void sortByMenuItem(FlexGrid &grid, QList<int> &directions, int index);
    void sortGrid(FlexGrid &grid, int col, int mode);
    // The header button shows "UP" or "DOWN" and is named for what it does.
    void setSortButtonCaption(const QString &caption);

    // layout
    void connectLayoutEvents();
    void Form_Resize();
    // Lays out the splitter bar at this top (twips), the result pages above
    // it and the log below it.
    void SizeControls(int splitterTop);
    void setLogColumns();
    void placePicturePanel();
    void Picture2_MouseDown();
    void Picture2_MouseMove(int y);
    void Picture2_MouseUp();
    void Picture1_MouseMove();

    // about and help
    void ShowAbout_Click();
    void MnuHelp_Click();

    // undo
    // Offers a delete's or move's files to be taken back.
    void recordRemoval(const ModEditFile::Handled &handled);
    void UndoLast_Click();

    // commands on the selection
    void AddLogEntry(const QString &itemText, const QString &resultText);
    // Whether the memory the system has free holds that many log lines;
    // tells the user when it does not.
    bool roomToLog(qsizetype lines);
    void DeleteFile_Click();
    void MoveFileTo_Click();
    void MoveFromList_Click();
    void ClearList_Click();
    void SendFileTo_Click();
    void CopyFileTo_Click();
    // The grid with the input focus, the one the commands on the selection
    // act on; null when the focus is elsewhere.
    FlexGrid *activeGrid() const;
    // After a delete or move: every selected file still at its old path is
    // marked red and logged with failedText, every other one logged as done;
    // the rows whose examined files are all gone leave the list.
    void checkSelectedFiles(const QString &failedText, const QString &doneText,
        const QString &doneFile1Text, bool bothNamesNeeded);
    // Drops these distinct data rows (and, from the scan list, their
    // records), then renumbers the rows left.
    void removeRows(FlexGrid &grid, const QList<int> &rows);

    Dialogs &m_dialogs;
    DesktopShell &m_desktop;
    UserInputTime m_inputTime; // of the click or key that started a command

    // window-level state
    FileCatalogue m_catalogue;
    CompareCriteria m_compareCriteria;
    ContentCache m_contentCache; // digests read in this session
    ListedContent m_listedContent; // what the listed compare's content check saw
    ComparedPairs m_compared; // what the compare list's rows stand for
    RemovalPreview m_preview; // what the keep rule takes of the compare list
    ProtectedFolders m_protected; // never removed or moved, while the program runs
    bool m_previewDue = false;
    QList<int> m_sortDirections1;
    QList<int> m_sortDirections2;
    PendingList m_pending;
    // The stamps the queued files of a removal or move had when queued.
    QHash<QString, FileStamp> m_pendingStamps;
    RemovalHistory m_removals;
    QString targetFolder; // destination of the last move or send-to
    int m_wheelDelta = 0; // parts of a notch not yet turned into a move
    ModSetGrid::Interaction m_gridInteraction;
    bool m_splitterDragging = false;
    // The open About and Help windows; they have no owner and close on their
    // own, which empties these.
    QPointer<FrmAbout> m_about;
    QPointer<FrmHelp> m_help;

    // controls, named as designed
    TabStrip *TabStrip2 = nullptr;
    QLabel *Label2 = nullptr;
    QGroupBox *FrameFile = nullptr;
    std::array<QLabel *, 3> Label3 {};
    QLineEdit *Text1 = nullptr;
    QPushButton *CommandSelectPath = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *CommandStartScan = nullptr;
    // Box i stands for slot i of the criteria (CompareCriteria::BoxSlots).
    std::array<QCheckBox *, CompareCriteria::SlotCount> Check1 {};
    QComboBox *Combo3 = nullptr;
    QPushButton *CommandToCompare = nullptr;
    QLabel *Image3 = nullptr;
    std::array<QLabel *, 2> Label1 {};
    TabStrip *TabStrip1 = nullptr;
    QFrame *Frame1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QCheckBox *CheckPreview = nullptr;
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
    QAction *ProtectFolder = nullptr;
    QAction *UnprotectFolder = nullptr;
    QMenu *ListSort1 = nullptr;
    QMenu *ListSort2 = nullptr;
    QList<QAction *> ListSortMnu1;
    QList<QAction *> ListSortMnu2;
    QAction *ShowAbout = nullptr;
    QAction *MnuHelp = nullptr;
    QAction *UndoLast = nullptr;
};
