// The window's controls and menus with their designed captions, containers
// and rectangles (twips).
#include "forms/main/FrmMain.h"

#include "platform/grid/FlexGrid.h"
#include "platform/widgets/ControlKind.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

constexpr int ClientWidth = 15510;
constexpr int ClientHeight = 10140;
// The decorative picture's own size in pixels; its panel shows it as a
// thumbnail, and at this size when the mouse passes over it.
constexpr int PictureSize = 256;

// Creates a control with its design name, its kind and its designed
// rectangle.
template<typename Control>
Control *make(QWidget *container, const QString &name, const char *kind, int left, int top,
    int width, int height)
{
    auto *control = new Control(container);
    control->setObjectName(name);
    ControlKind::set(control, kind);
    Twips::setGeometry(control, {left, top, width, height});
    return control;
}

template<typename Control>
Control *makeCaptioned(QWidget *container, const QString &name, const char *kind,
    const QString &caption, int left, int top, int width, int height)
{
    Control *control = make<Control>(container, name, kind, left, top, width, height);
    control->setText(caption);
    control->setAccessibleName(caption);
    return control;
}

// The threshold box stands on the run of blanks in the similar-name caption,
// with the "%" right of it. This font's blanks may be narrower than the box,
// so the caption's letters are spaced out until the run is wide enough (its
// text stays as it is), and the box is moved to where the run starts.
void fitThresholdIntoCaption(QCheckBox *box, QComboBox *threshold)
{
    constexpr int gap = 2;
    const QString caption = box->text();
    const qsizetype blanksFrom = caption.indexOf(QLatin1Char(' '));
    const QString prefix = caption.left(blanksFrom);
    const QString upToPercent = caption.chopped(1);
    const int needed = threshold->width() + 2 * gap;
    QFont font = box->font();
    const auto run = [&] {
        const QFontMetrics metrics(font);
        return metrics.horizontalAdvance(upToPercent) - metrics.horizontalAdvance(prefix);
    };
    for (qreal spacing = 0.5; run() < needed && spacing <= 20; spacing += 0.5)
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    box->setFont(font);
    QStyleOptionButton option;
    option.initFrom(box);
    const int textLeft
        = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).left();
    threshold->move(
        box->x() + textLeft + QFontMetrics(font).horizontalAdvance(prefix) + gap, threshold->y());
    box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
}

QPixmap picture(int size)
{
    return QIcon(QStringLiteral(":/velkor.svg")).pixmap(size, size);
}

} // namespace

void FrmMain::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("FrmMainClient"));
    setCentralWidget(client);
    // Resizable, never below the designed size.
    const QSize designed(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    client->setMinimumSize(designed);
    client->resize(designed);

    TabStrip2 = make<TabStrip>(
        client, QStringLiteral("TabStrip2"), ControlKind::TabStrip, 120, 120, 4095, 495);
    TabStrip2->addTab(QStringLiteral("文件名相同对比"));
    TabStrip2->addTab(QStringLiteral("文件名相似对比"));
    TabStrip2->setAccessibleName(QStringLiteral("文件名相同对比 文件名相似对比"));

    Label2 = makeCaptioned<QLabel>(client, QStringLiteral("Label2"), ControlKind::Label,
        QStringLiteral("Velkor 重复文件查找工具"), 4320, 240, 4695, 375);

    FrameFile = make<QGroupBox>(
        client, QStringLiteral("FrameFile"), ControlKind::Frame, 120, 555, 15255, 1455);
    FrameFile->setAccessibleName(QStringLiteral("扫描和对比设置"));
    Label3[0] = makeCaptioned<QLabel>(FrameFile, QStringLiteral("Label3(0)"), ControlKind::Label,
        QStringLiteral("文件位置："), 240, 420, 900, 180);
    Text1 = make<QLineEdit>(
        FrameFile, QStringLiteral("Text1"), ControlKind::TextBox, 1200, 360, 5775, 300);
    Text1->setAccessibleName(QStringLiteral("文件位置："));
    CommandSelectPath = make<QPushButton>(FrameFile, QStringLiteral("CommandSelectPath"),
        ControlKind::CommandButton, 6960, 360, 300, 300);
    CommandSelectPath->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    CommandSelectPath->setAccessibleName(QStringLiteral("请选择目录"));
    CommandSelectPath->setToolTip(QStringLiteral("请选择目录"));
    Label3[1] = makeCaptioned<QLabel>(FrameFile, QStringLiteral("Label3(1)"), ControlKind::Label,
        QStringLiteral("文件类型："), 8160, 420, 900, 180);
    Combo1 = make<QComboBox>(
        FrameFile, QStringLiteral("Combo1"), ControlKind::ComboBox, 9120, 360, 3375, 300);
    Combo1->setEditable(true);
    Combo1->addItems({QStringLiteral("*.mp3"), QStringLiteral("*.rmvb"), QStringLiteral("*.*")});
    Combo1->setCurrentIndex(0);
    Combo1->setAccessibleName(QStringLiteral("文件类型："));
    CommandStartScan = makeCaptioned<QPushButton>(FrameFile, QStringLiteral("CommandStartScan"),
        ControlKind::CommandButton, QStringLiteral("开始扫描"), 13080, 240, 1935, 460);
    Label3[2] = makeCaptioned<QLabel>(FrameFile, QStringLiteral("Label3(2)"), ControlKind::Label,
        QStringLiteral("参与对比项目："), 240, 990, 1260, 180);
    Check1[FileRecord::Name] = makeCaptioned<QCheckBox>(FrameFile, QStringLiteral("Check1(0)"),
        ControlKind::CheckBox, QStringLiteral("文件名相似度：         %"), 1680, 960, 2775, 255);
    Check1[FileRecord::Name]->setChecked(true);
    Combo3 = make<QComboBox>(
        FrameFile, QStringLiteral("Combo3"), ControlKind::ComboBox, 3240, 937, 735, 300);
    Combo3->setEditable(true);
    Combo3->setAccessibleName(QStringLiteral("文件名相似度"));
    fitThresholdIntoCaption(Check1[FileRecord::Name], Combo3);
    // The boxes after the name box. The row ends at the compare button, so
    // the content box opens a second row under the name box.
    struct Box
    {
        int slot;
        const char *caption;
        int left, top, width;
    };
    const Box boxes[] = {{FileRecord::Size, "文件大小", 4680, 960, 1335},
        {FileRecord::Created, "文件创建时间", 6120, 960, 1695},
        {FileRecord::Modified, "文件修改时间", 7920, 960, 1695},
        {FileRecord::Accessed, "文件访问时间", 9720, 960, 1695},
        {FileRecord::Type, "文件类型", 11520, 960, 1695},
        {CompareCriteria::ContentSlot, "文件内容", 1680, 1185, 1335}};
    for (const Box &box : boxes) {
        Check1[box.slot] = makeCaptioned<QCheckBox>(FrameFile,
            QStringLiteral("Check1(%1)").arg(box.slot), ControlKind::CheckBox,
            QString::fromUtf8(box.caption), box.left, box.top, box.width, 255);
    }
    CommandToCompare = makeCaptioned<QPushButton>(FrameFile, QStringLiteral("CommandToCompare"),
        ControlKind::CommandButton, QStringLiteral("开始对比"), 13080, 840, 1935, 460);
    Image3 = make<QLabel>(
        FrameFile, QStringLiteral("Image3"), ControlKind::Image, 17640, 240, 105, 1000);
    Image3->setPixmap(picture(Twips::toPixels(600)));
    Label1[0] = makeCaptioned<QLabel>(FrameFile, QStringLiteral("Label1(0)"), ControlKind::Label,
        QStringLiteral("广告位招猪"), 17760, 1100, 1500, 255);

    TabStrip1 = make<TabStrip>(
        client, QStringLiteral("TabStrip1"), ControlKind::TabStrip, 120, 2205, 4095, 495);
    TabStrip1->addTab(QStringLiteral("文件扫描结果"));
    TabStrip1->addTab(QStringLiteral("文件对比结果"));
    TabStrip1->setAccessibleName(QStringLiteral("文件扫描结果 文件对比结果"));

    // The strip reaches further left than designed by the preview box's
    // room, so the designed controls keep their places in the window.
    constexpr int PreviewRoom = 2400;
    Frame1 = make<QFrame>(client, QStringLiteral("Frame1"), ControlKind::Frame, 7560 - PreviewRoom,
        2160, 7815 + PreviewRoom, 495);
    Frame1->setAccessibleName(QStringLiteral("处理相同文件"));
    Frame1->hide();
    CheckPreview = makeCaptioned<QCheckBox>(Frame1, QStringLiteral("CheckPreview"),
        ControlKind::CheckBox, QStringLiteral("预览将删除的文件"), 120, 100, 2175, 255);
    Combo2 = make<QComboBox>(
        Frame1, QStringLiteral("Combo2"), ControlKind::ComboBox, PreviewRoom + 120, 80, 2895, 300);
    Combo2->setAccessibleName(QStringLiteral("保留规则"));
    CommandDelFile = makeCaptioned<QPushButton>(Frame1, QStringLiteral("CommandDelFile"),
        ControlKind::CommandButton, QStringLiteral("删除相同文件"), PreviewRoom + 3240, 0, 2055,
        460);
    CommandMoveTo = makeCaptioned<QPushButton>(Frame1, QStringLiteral("CommandMoveTo"),
        ControlKind::CommandButton, QStringLiteral("移动相同文件到..."), PreviewRoom + 5520, 0,
        2055, 460);

    const QString pageNames[] = {QStringLiteral("文件扫描结果"), QStringLiteral("文件对比结果")};
    for (int i = 0; i < 2; ++i) {
        FrameTab[i] = make<QFrame>(client, QStringLiteral("FrameTab(%1)").arg(i),
            ControlKind::Frame, 120, 2640, 15255, 4815);
        FrameTab[i]->setAccessibleName(pageNames[i]);
    }
    FrameTab[1]->hide();
    MSHList = make<FlexGrid>(
        FrameTab[0], QStringLiteral("MSHList"), ControlKind::FlexGrid, 0, 120, 15255, 4695);
    MSHList->setAccessibleName(QStringLiteral("文件扫描结果"));
    MSHList->setSelectionMode(1);
    MSH1 = make<FlexGrid>(
        FrameTab[1], QStringLiteral("MSH1"), ControlKind::FlexGrid, 0, 120, 15255, 4695);
    MSH1->setAccessibleName(QStringLiteral("文件对比结果"));
    MSH1->setSelectionMode(0);

    Command1 = make<QPushButton>(
        client, QStringLiteral("Command1"), ControlKind::CommandButton, 4440, 2160, 2535, 375);
    setSortButtonCaption(QStringLiteral("UP"));
    Command1->hide();

    Picture2 = make<QFrame>(
        client, QStringLiteral("Picture2"), ControlKind::PictureBox, 120, 7500, 15240, 140);
    Picture2->setAccessibleName(QStringLiteral("分隔条"));
    Picture2->setFrameShape(QFrame::Panel);
    Picture2->setFrameShadow(QFrame::Raised);
    Picture2->setCursor(Qt::SizeVerCursor);
    Image1
        = make<QLabel>(Picture2, QStringLiteral("Image1"), ControlKind::Image, 6690, 10, 1860, 120);
    Image1->setFrameShape(QFrame::HLine);
    Image1->setFrameShadow(QFrame::Sunken);

    ListView1 = make<LogList>(
        client, QStringLiteral("ListView1"), ControlKind::ListView, 120, 7680, 15255, 1935);
    ListView1->setAccessibleName(QStringLiteral("处理记录"));

    SBar1 = make<StatusBar>(
        client, QStringLiteral("SBar1"), ControlKind::StatusBar, 0, 9735, 15510, 405);
    SBar1->setAccessibleName(QStringLiteral("状态栏"));

    Picture1 = make<QFrame>(
        client, QStringLiteral("Picture1"), ControlKind::PictureBox, 16680, 675, 2535, 1300);
    Picture1->setAccessibleName(QStringLiteral("头晕了！养养眼！提提神！"));
    Image2
        = make<QLabel>(Picture1, QStringLiteral("Image2"), ControlKind::Image, 720, 0, 1095, 975);
    Image2->setPixmap(picture(PictureSize));
    Image2->setScaledContents(true);
    Label1[1] = makeCaptioned<QLabel>(Picture1, QStringLiteral("Label1(1)"), ControlKind::Label,
        QStringLiteral("头晕了！养养眼！提提神！"), 0, 1000, 2535, 255);
    Label1[1]->setAlignment(Qt::AlignCenter);
}

namespace {

QAction *makeAction(QObject *owner, const QString &name, const QString &caption)
{
    auto *action = new QAction(caption, owner);
    action->setObjectName(name);
    return action;
}

} // namespace

void FrmMain::createMenus()
{
    EditFile = new QMenu(QStringLiteral("文件列表(&F)"), this);
    EditFile->setObjectName(QStringLiteral("EditFile"));
    const QList<std::pair<QAction **, std::pair<const char *, const char *>>> items {
        {&Open, {"Open", "打开文件(&O)"}},
        {&OpenShowFolder, {"OpenShowFolder", "打开文件所在目录(&Z)"}},
        {&MoveFromList, {"MoveFromList", "从列表移除所选文件(&M)"}},
        {&MoveFileTo, {"MoveFileTo", "移动所选文件到...(&T)"}},
        {&SendFileTo, {"SendFileTo", "发送所选文件到...(&S)"}},
        {&DeleteFile, {"DeleteFile", "删除所选文件到回收站(&D)"}},
        {&CopyFileTo, {"CopyFileTo", "复制所选文件到剪贴板(&X)"}},
        {&FileReName, {"FileReName", "重命名(&N) "}},
        {&ClearList, {"ClearList", "清空列表(&C)"}},
        {&FileOption, {"FileOption", "文件属性(&R)"}},
    };
    for (const auto &[slot, texts] : items) {
        if (!EditFile->isEmpty())
            EditFile->addSeparator();
        *slot = makeAction(this, QString::fromLatin1(texts.first), QString::fromUtf8(texts.second));
        EditFile->addAction(*slot);
    }
    // Beyond the designed items, behind one separator.
    EditFile->addSeparator();
    ProtectFolder = makeAction(
        this, QStringLiteral("ProtectFolder"), QStringLiteral("保护此文件所在目录(&P)"));
    UnprotectFolder
        = makeAction(this, QStringLiteral("UnprotectFolder"), QStringLiteral("取消保护此目录(&U)"));
    EditFile->addAction(ProtectFolder);
    EditFile->addAction(UnprotectFolder);

    ListSort1 = new QMenu(QStringLiteral("扫描结果排序"), this);
    ListSort1->setObjectName(QStringLiteral("ListSort1"));
    ListSort2 = new QMenu(QStringLiteral("对比结果排序"), this);
    ListSort2->setObjectName(QStringLiteral("ListSort2"));
    ListSortMnu1.append(
        makeAction(this, QStringLiteral("ListSortMnu1(0)"), QStringLiteral("ListSortMnu1(0)")));
    ListSortMnu2.append(
        makeAction(this, QStringLiteral("ListSortMnu2(0)"), QStringLiteral("ListSortMnu2(0)")));
    ListSortMnu1.first()->setVisible(false);
    ListSortMnu2.first()->setVisible(false);
    ListSort1->addAction(ListSortMnu1.first());
    ListSort2->addAction(ListSortMnu2.first());

    ShowAbout = makeAction(this, QStringLiteral("ShowAbout"), QStringLiteral("关于(&A)"));
    MnuHelp = makeAction(this, QStringLiteral("MnuHelp"), QStringLiteral("帮助(&H)"));
    menuBar()->setObjectName(QStringLiteral("MenuBar"));
    menuBar()->addAction(ShowAbout);
    menuBar()->addAction(MnuHelp);
    // Nothing to take back until a delete or move has removed a file.
    UndoLast = makeAction(this, QStringLiteral("UndoLast"), QStringLiteral("撤销(&Z)"));
    UndoLast->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    UndoLast->setEnabled(false);
    menuBar()->addAction(UndoLast);
}
