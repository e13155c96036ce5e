#include "platform/widgets/ThrottledText.h"

ThrottledText::ThrottledText(Apply apply, QWidget *painted, int intervalMs)
    : m_apply(std::move(apply))
    , m_painted(painted)
    , m_intervalMs(intervalMs)
{
}

void ThrottledText::setText(const QString &text)
{
    m_text = text;
    m_pending = true;
    if (!m_sinceShown.isValid() || m_sinceShown.elapsed() >= m_intervalMs)
        show();
}

void ThrottledText::flush()
{
    if (m_pending)
        show();
}

void ThrottledText::show()
{
    m_apply(m_text);
    m_pending = false;
    if (m_painted)
        m_painted->repaint();
    m_sinceShown.start();
}
