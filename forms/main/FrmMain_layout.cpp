// The window's layout at any size: controls follow the window from their
// designed rectangles, the splitter bar shares the height between the
// result pages and the log, the status panels split the width, and the
// decorative picture panel toggles under the mouse. Lengths are twips.
#include "forms/main/FrmMain.h"

#include "modules/ModFrmObject.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// Between a result page's top and its grid, and between the log and the
// status bar.
constexpr int Margin = 120;
// The closest the splitter bar comes to the result pages' top.
constexpr int SplitterMinimum = 60;
const QRect PicturePanel {16680, 0, 2535, 1300}; // top: FrameFile's top + Margin
const QRect Thumbnail {720, 0, 1095, 975};

QRect twips(const QWidget *control)
{
    return Twips::geometry(control);
}

void setTop(QWidget *control, int top)
{
    QRect r = twips(control);
    r.moveTop(top);
    Twips::setGeometry(control, r);
}

void setHeight(QWidget *control, int height)
{
    QRect r = twips(control);
    r.setHeight(height);
    Twips::setGeometry(control, r);
}

} // namespace

void FrmMain::connectLayoutEvents()
{
    // Mouse moves over the window's own background and the result pages'
    // frames hide the header button; moves over the picture panel toggle it.
    for (QWidget *surface : {centralWidget(), static_cast<QWidget *>(FrameTab[0]),
             static_cast<QWidget *>(FrameTab[1]), static_cast<QWidget *>(Picture1)}) {
        surface->setMouseTracking(true);
        surface->installEventFilter(this);
    }
    // The grip passes its mouse events on to the bar.
    Picture2->installEventFilter(this);
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        Form_Resize();
        return false;
    }
    const auto *mouse = dynamic_cast<QMouseEvent *>(event);
    if (!mouse)
        return QMainWindow::eventFilter(watched, event);
    if (watched == Picture2) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Picture2_MouseDown();
            return true;
        case QEvent::MouseMove:
            Picture2_MouseMove(Twips::fromPixels(mouse->position().toPoint().y()));
            return true;
        case QEvent::MouseButtonRelease:
            Picture2_MouseUp();
            return true;
        default:
            return false;
        }
    }
    if (event->type() != QEvent::MouseMove)
        return false;
    if (watched == Picture1) {
        Picture1_MouseMove();
        return true;
    }
    // Moves over a control on the surface reach it too, passed on by that
    // control; only the surface's own background counts.
    auto *surface = static_cast<QWidget *>(watched);
    if (!surface->childAt(mouse->position().toPoint()))
        Command1->hide();
    return false;
}

void FrmMain::Form_Resize()
{
    if (ModFrmObject::designedSize(centralWidget()).isEmpty())
        return;
    // The status bar is aligned to the window's bottom and spans its width,
    // as the window system keeps an aligned bar; the rest starts from it.
    const QRect client = twips(centralWidget());
    const int barHeight = ModFrmObject::designedRect(SBar1).height();
    Twips::setGeometry(SBar1, {0, client.height() - barHeight, client.width(), barHeight});

    ModFrmObject::ResizeControlsByType(centralWidget());
    SizeControls(twips(Picture2).top());
    setLogColumns();
    if (const int lines = ListView1->itemCount(); lines > 0) {
        ListView1->selectItem(lines - 1);
        ListView1->ensureVisible(lines - 1);
    }
    // Of the bar's own width: the window's outer width would push the
    // second panel's end past the bar.
    const int width = twips(SBar1).width();
    SBar1->setPanelWidth(1, width * 6 / 10);
    SBar1->setPanelWidth(2, width * 4 / 10);
    placePicturePanel();
}

void FrmMain::SizeControls(int splitterTop)
{
    setTop(Picture2, splitterTop);
    const QRect bar = twips(Picture2);
    const QRect grip = twips(Image1);
    Twips::setGeometry(Image1,
        {(bar.width() - grip.width()) / 2, (bar.height() - grip.height()) / 2, grip.width(),
            grip.height()});
    const std::pair<QFrame *, FlexGrid *> pages[] = {{FrameTab[0], MSHList}, {FrameTab[1], MSH1}};
    for (const auto &[page, grid] : pages) {
        const int height = splitterTop - twips(page).top();
        setHeight(page, height);
        setHeight(grid, height - Margin);
    }
    const int clientHeight = twips(centralWidget()).height();
    setHeight(
        ListView1, clientHeight - splitterTop - twips(SBar1).height() - bar.height() - Margin);
    setTop(ListView1, splitterTop + bar.height());
}

void FrmMain::setLogColumns()
{
    const int width = ListView1->clientWidthTwips();
    ListView1->clearColumns();
    ListView1->addColumn(QStringLiteral("序号"), width / 10);
    ListView1->addColumn(QStringLiteral("选择项目"), width * 3 / 10);
    ListView1->addColumn(QStringLiteral("处理结果"), width * 3 / 10);
    ListView1->addColumn(QStringLiteral("时间"), width * 3 / 10);
}

// Beyond the designed client width: the panel shows only in a wider window.
void FrmMain::placePicturePanel()
{
    QRect panel = PicturePanel;
    panel.moveTop(twips(FrameFile).top() + Margin);
    Twips::setGeometry(Picture1, panel);
}

void FrmMain::Picture2_MouseDown()
{
    m_splitterDragging = true;
}

// Only the bar moves while it is dragged; the rest follows on release.
void FrmMain::Picture2_MouseMove(int y)
{
    if (!m_splitterDragging)
        return;
    const int bar = twips(Picture2).top() + y;
    const int low = twips(FrameTab[0]).top() + SplitterMinimum;
    const int high = twips(SBar1).top() - twips(Picture2).height();
    setTop(Picture2, bar < low ? low : (bar <= high ? bar : high));
}

void FrmMain::Picture2_MouseUp()
{
    SizeControls(twips(Picture2).top());
    m_splitterDragging = false;
}

// Every move over the panel toggles it between its thumbnail and the picture
// at its own size in the middle of the window.
void FrmMain::Picture1_MouseMove()
{
    if (Image2->hasScaledContents()) {
        const QSize pixels = Image2->pixmap().deviceIndependentSize().toSize();
        const QSize natural(Twips::fromPixels(pixels.width()), Twips::fromPixels(pixels.height()));
        Image2->setScaledContents(false);
        Twips::setGeometry(Image2, {QPoint(0, 0), natural});
        const QRect outer = Twips::geometry(this);
        Twips::setGeometry(Picture1,
            {QPoint((outer.width() - natural.width()) / 2, (outer.height() - natural.height()) / 2),
                natural});
        Picture1->raise();
    } else {
        placePicturePanel();
        Image2->setScaledContents(true);
        Twips::setGeometry(Image2, Thumbnail);
    }
}
