// FlexGrid's mouse, keyboard and focus handling. The view's own selection
// handling is bypassed: the grid keeps the current cell and range itself and
// raises the grid's events in the order the handlers rely on.
#include "platform/grid/FlexGrid.h"

#include "platform/grid/FlexGridModel.h"
#include "platform/widgets/Twips.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QWheelEvent>

#include <algorithm>

namespace {

int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

// The state after the key: pressing Shift counts Shift as held, releasing it
// as no longer held, whatever the window system reports for that very event.
int keyShiftCode(const QKeyEvent *event, bool pressed)
{
    Qt::KeyboardModifiers modifiers = event->modifiers();
    Qt::KeyboardModifier own = Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Shift:
        own = Qt::ShiftModifier;
        break;
    case Qt::Key_Control:
        own = Qt::ControlModifier;
        break;
    case Qt::Key_Alt:
        own = Qt::AltModifier;
        break;
    default:
        break;
    }
    if (own != Qt::NoModifier)
        modifiers.setFlag(own, pressed);
    return shiftCode(modifiers);
}

} // namespace

void FlexGrid::cellAt(QPoint pos, int *row, int *col) const
{
    *row = -1;
    *col = -1;
    if (pos.x() < 0 || pos.y() < 0)
        return;
    const QRect top = horizontalHeader()->geometry();
    const QRect side = verticalHeader()->geometry();
    const QRect cells = viewport()->geometry();
    if (!horizontalHeader()->isHidden() && pos.y() >= top.top() && pos.y() <= top.bottom()) {
        *row = 0;
    } else if (pos.y() >= cells.top() && pos.y() <= cells.bottom()) {
        const int r = rowAt(pos.y() - cells.top());
        *row = r < 0 ? -1 : r + 1;
    }
    if (!verticalHeader()->isHidden() && pos.x() >= side.left() && pos.x() <= side.right()) {
        *col = 0;
    } else if (pos.x() >= cells.left() && pos.x() <= cells.right()) {
        const int c = columnAt(pos.x() - cells.left());
        *col = c < 0 ? -1 : c + 1;
    }
}

void FlexGrid::noteMouse(QWidget *source, QPoint pos)
{
    m_mouse = source == this ? pos : source->mapTo(this, pos);
}

void FlexGrid::userMoveTo(int row, int col)
{
    if (row < 1 || col < 1)
        return;
    if (m_selectionMode == 1)
        moveCurrent(row, 1, row, Cols() - 1);
    else
        moveCurrent(row, col, row, col);
    scrollTo(m_model->index(row - 1, std::max(col, 1) - 1));
}

void FlexGrid::userExtendTo(int row, int col)
{
    if (row < 1 || col < 1)
        return;
    m_rowSel = row;
    m_colSel = m_selectionMode == 1 ? Cols() - 1 : col;
    syncView();
    scrollTo(m_model->index(row - 1, col - 1));
}

void FlexGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    noteMouse(viewport(), pos);
    holdSync();
    Q_EMIT MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()),
        Twips::fromPixels(m_mouse.x()), Twips::fromPixels(m_mouse.y()));
    if (event->button() == Qt::LeftButton) {
        int row, col;
        cellAt(m_mouse, &row, &col);
        if (row >= 1 && col >= 1) {
            if (event->modifiers() & Qt::ShiftModifier)
                userExtendTo(row, col);
            else
                userMoveTo(row, col);
            m_dragging = true;
        }
    }
    releaseSync();
    event->accept();
}

void FlexGrid::mouseMoveEvent(QMouseEvent *event)
{
    noteMouse(viewport(), event->position().toPoint());
    holdSync();
    Q_EMIT MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()),
        Twips::fromPixels(m_mouse.x()), Twips::fromPixels(m_mouse.y()));
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        int row, col;
        cellAt(m_mouse, &row, &col);
        if (row >= 1 && col >= 1 && (row != m_rowSel || col != m_colSel))
            userExtendTo(row, col);
    }
    releaseSync();
    event->accept();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent *event)
{
    noteMouse(viewport(), event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    holdSync();
    Q_EMIT MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()),
        Twips::fromPixels(m_mouse.x()), Twips::fromPixels(m_mouse.y()));
    releaseSync();
    event->accept();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    noteMouse(viewport(), event->position().toPoint());
    holdSync();
    Q_EMIT DblClick();
    releaseSync();
    event->accept();
}

bool FlexGrid::navigate(QKeyEvent *event, int shift)
{
    if (Rows() < 2 || Cols() < 2)
        return false;
    const bool extend = shift & 1;
    const int fromRow = std::max(extend ? m_rowSel : m_row, 1);
    const int fromCol = std::max(extend ? m_colSel : m_col, 1);
    const int page = std::max(
        viewport()->height() / std::max(verticalHeader()->defaultSectionSize(), 1) - 1, 1);
    int row = fromRow;
    int col = fromCol;
    switch (event->key()) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier)
            row = 1;
        else
            col = 1;
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier)
            row = Rows() - 1;
        else
            col = Cols() - 1;
        break;
    default:
        return false;
    }
    row = std::clamp(row, 1, Rows() - 1);
    col = std::clamp(col, 1, Cols() - 1);
    if (extend)
        userExtendTo(row, col);
    else if (row != fromRow || col != fromCol || m_row < 1 || m_col < 1)
        userMoveTo(row, col);
    return true;
}

void FlexGrid::wheelEvent(QWheelEvent *event)
{
    Q_EMIT MouseWheel(event->angleDelta().y(), shiftCode(event->modifiers()));
    event->accept();
}

void FlexGrid::keyPressEvent(QKeyEvent *event)
{
    holdSync();
    const int shift = keyShiftCode(event, true);
    Q_EMIT KeyDown(event->key(), shift);
    const bool handled = navigate(event, shift);
    releaseSync();
    if (handled)
        event->accept();
    else
        event->ignore();
}

void FlexGrid::keyReleaseEvent(QKeyEvent *event)
{
    // Held keys repeat as presses only, as the handlers expect: a KeyUp in
    // the middle of a held Shift would end the range too early.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    holdSync();
    Q_EMIT KeyUp(event->key(), keyShiftCode(event, false));
    releaseSync();
    event->accept();
}

void FlexGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    syncView();
    if (!m_hasFocus) {
        m_hasFocus = true;
        Q_EMIT GotFocus();
    }
}

void FlexGrid::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    // A popup menu or another window taking the keyboard leaves the grid the
    // window's focused control: its highlights must survive the context menu
    // and the prompts of the command run from it.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    m_dragging = false;
    if (m_hasFocus) {
        m_hasFocus = false;
        Q_EMIT LostFocus();
    }
}

bool FlexGrid::mouseFromHeader(QWidget *source, QEvent *event)
{
    auto *mouse = static_cast<QMouseEvent *>(event);
    noteMouse(source, mouse->position().toPoint());
    const int x = Twips::fromPixels(m_mouse.x());
    const int y = Twips::fromPixels(m_mouse.y());
    const int shift = shiftCode(mouse->modifiers());
    holdSync();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        Q_EMIT MouseDown(buttonCode(mouse->button()), shift, x, y);
        break;
    case QEvent::MouseButtonRelease:
        Q_EMIT MouseUp(buttonCode(mouse->button()), shift, x, y);
        break;
    case QEvent::MouseButtonDblClick:
        Q_EMIT DblClick();
        break;
    default:
        Q_EMIT MouseMove(buttonCode(mouse->buttons()), shift, x, y);
        break;
    }
    releaseSync();
    return false;
}

void FlexGrid::paintCorner()
{
    QPainter painter(m_corner);
    QStyleOptionHeader option;
    // State and palette of the header, not of the corner button: that one is
    // kept disabled so it never selects, and would grey the caption.
    option.initFrom(horizontalHeader());
    option.rect = m_corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.orientation = Qt::Horizontal;
    option.text = m_model->text(0, 0);
    option.textAlignment = m_model->alignment(0) | Qt::AlignVCenter;
    style()->drawControl(QStyle::CE_Header, &option, &painter, m_corner);
}

bool FlexGrid::eventFilter(QObject *watched, QEvent *event)
{
    auto *source = qobject_cast<QWidget *>(watched);
    if (source
        && (source == m_corner || source == horizontalHeader()->viewport()
            || source == verticalHeader()->viewport())) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return mouseFromHeader(source, event);
        case QEvent::Paint:
            if (source == m_corner) {
                paintCorner();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}
