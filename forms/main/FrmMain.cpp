#include "forms/main/FrmMain.h"

#include "forms/ControlDescriptions.h"

#include "core/GridSchema.h"
#include "core/KeepRule.h"
#include "core/ProgramVersion.h"

#include "modules/ModFrmObject.h"
#include "modules/ModSetGrid.h"
#include "platform/desktop/Dialogs.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/FlexGridModel.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TextMeasure.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

FrmMain::FrmMain(Dialogs &dialogs, DesktopShell &desktop, QWidget *parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_desktop(desktop)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/velkor.svg")));
    createControls();
    createMenus();
    ControlDescriptions::apply(this);
    connectSignals();
    Form_Load();
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

FrmMain::~FrmMain()
{
    // The grids outlive this part of the window while QWidget closes them,
    // and their look tests read the window's state.
    MSH1->gridModel()->setLookTest({});
    MSHList->gridModel()->setLookTest({});
}

void FrmMain::connectSignals()
{
    connect(TabStrip1, &TabStrip::Click, this, &FrmMain::TabStrip1_Click);
    connect(CommandSelectPath, &QPushButton::clicked, this, &FrmMain::CommandSelectPath_Click);
    connect(CommandStartScan, &QPushButton::clicked, this, &FrmMain::CommandStartScan_Click);
    connect(TabStrip2, &TabStrip::Click, this, &FrmMain::TabStrip2_Click);
    for (const int index : CompareCriteria::BoxSlots)
        connect(Check1[index], &QCheckBox::clicked, this, [this, index] { Check1_Click(index); });
    connect(CommandToCompare, &QPushButton::clicked, this, &FrmMain::CommandToCompare_Click);
    connect(CommandDelFile, &QPushButton::clicked, this, &FrmMain::CommandDelFile_Click);
    connect(CommandMoveTo, &QPushButton::clicked, this, &FrmMain::CommandMoveTo_Click);
    connectGridSignals();
    connectPreviewSignals();
    connectLayoutEvents();
    connect(DeleteFile, &QAction::triggered, this, &FrmMain::DeleteFile_Click);
    connect(MoveFileTo, &QAction::triggered, this, &FrmMain::MoveFileTo_Click);
    connect(MoveFromList, &QAction::triggered, this, &FrmMain::MoveFromList_Click);
    connect(ClearList, &QAction::triggered, this, &FrmMain::ClearList_Click);
    connect(SendFileTo, &QAction::triggered, this, &FrmMain::SendFileTo_Click);
    connect(CopyFileTo, &QAction::triggered, this, &FrmMain::CopyFileTo_Click);
    connect(Open, &QAction::triggered, this, &FrmMain::Open_Click);
    connect(OpenShowFolder, &QAction::triggered, this, &FrmMain::OpenShowFolder_Click);
    connect(FileOption, &QAction::triggered, this, &FrmMain::FileOption_Click);
    connect(FileReName, &QAction::triggered, this, &FrmMain::FileReName_Click);
    connect(ProtectFolder, &QAction::triggered, this, &FrmMain::ProtectFolder_Click);
    connect(UnprotectFolder, &QAction::triggered, this, &FrmMain::UnprotectFolder_Click);
    connect(ShowAbout, &QAction::triggered, this, &FrmMain::ShowAbout_Click);
    connect(MnuHelp, &QAction::triggered, this, &FrmMain::MnuHelp_Click);
    connect(UndoLast, &QAction::triggered, this, &FrmMain::UndoLast_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmMain::Command1_Click);
    connect(ListSort1, &QMenu::triggered, this,
        [this](QAction *item) { ListSortMnu1_Click(int(ListSortMnu1.indexOf(item))); });
    connect(ListSort2, &QMenu::triggered, this,
        [this](QAction *item) { ListSortMnu2_Click(int(ListSortMnu2.indexOf(item))); });
}

void FrmMain::Form_Load()
{
    setWindowTitle(QStringLiteral("Velkor") + programVersion());
    ModFrmObject::SaveControlGeometry(centralWidget());
    m_compareCriteria.slots[FileRecord::Name] = 1;
    Text1->setText(QCoreApplication::applicationDirPath());
    SBar1->setPanelText(ScanPanel, QStringLiteral("等待扫描..."));
    SBar1->setPanelText(ComparePanel, QStringLiteral("等待对比..."));
    Combo2->addItems(KeepRule::captions());
    Combo2->setCurrentIndex(0);
    for (int percent = 100; percent >= 10; percent -= 10)
        Combo3->addItem(QString::number(percent));
    Combo3->setCurrentIndex(0);
    TabStrip2->selectTab(int(CompareMode::SameName));
    InitGrid(Grids::Both);

    setLogColumns();

    const auto buildSortMenu = [this](FlexGrid *grid, QMenu *menu, QList<QAction *> &items,
                                   QList<int> &directions, const QString &prefix) {
        directions = QList<int>(grid->Cols() + 1, 0);
        for (int i = 1; i <= grid->Cols(); ++i) {
            auto *item = new QAction(
                QStringLiteral("按 ") + grid->TextMatrix(0, i - 1) + QStringLiteral(" 排序"), this);
            item->setObjectName(QStringLiteral("%1(%2)").arg(prefix).arg(i));
            menu->addAction(item);
            items.append(item);
        }
    };
    buildSortMenu(
        MSHList, ListSort1, ListSortMnu1, m_sortDirections1, QStringLiteral("ListSortMnu1"));
    buildSortMenu(MSH1, ListSort2, ListSortMnu2, m_sortDirections2, QStringLiteral("ListSortMnu2"));

    placePicturePanel();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    m_catalogue.clear();
    QMainWindow::closeEvent(event);
}

void FrmMain::InitGrid(Grids which)
{
    // A new list opens at its first cell, whatever the old one showed.
    const auto reset = [](FlexGrid *grid, const QString &format, int firstCol) {
        grid->Clear();
        grid->setRows(2);
        grid->setFormatString(format);
        const FlexGrid::QuietMoves quiet(*grid);
        grid->setRow(1);
        grid->setCol(firstCol);
        grid->verticalScrollBar()->setValue(0);
        grid->horizontalScrollBar()->setValue(0);
    };
    if (which == Grids::Scan || which == Grids::Both)
        reset(MSHList, GridSchema::scanFormat(), GridSchema::ScanColumn::Name);
    if (which == Grids::Compare || which == Grids::Both) {
        reset(MSH1, GridSchema::compareFormat(), GridSchema::CompareColumn::Similarity);
        // No row stands for a compared pair any more.
        m_compared = {};
        m_preview.forgetFacts();
        // Its caption is narrower than the similarities it shows, and no
        // fill widens it.
        ModSetGrid::WidenColumns(*MSH1, GridSchema::CompareColumn::Similarity,
            {0, TextMeasure(font()).widthTwips(u"100.00%")});
    }
}

void FrmMain::TabStrip1_Click()
{
    const int tab = TabStrip1->SelectedIndex();
    if (tab == ScanResults) {
        FrameTab[0]->show();
        FrameTab[1]->hide();
        Frame1->hide();
    } else if (tab == CompareResults) {
        FrameTab[1]->show();
        Frame1->show();
        FrameTab[0]->hide();
    }
}
