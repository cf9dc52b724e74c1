#include "ui/main/controlbar.h"

#include <QVBoxLayout>

namespace orvane::ui {

CoolBar::CoolBar(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("CoolBar"));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

void CoolBar::setBand(int band, QWidget *child, int minHeight)
{
    Band &b = m_bands.at(size_t(band - 1));
    b.child = child;
    b.minHeight = minHeight;
    child->setParent(this);
    m_layout->addWidget(child);
    relayout();
}

QWidget *CoolBar::bandChild(int band) const
{
    return m_bands.at(size_t(band - 1)).child;
}

void CoolBar::setBandMinHeight(int band, int minHeight)
{
    m_bands.at(size_t(band - 1)).minHeight = minHeight;
    relayout();
}

int CoolBar::bandMinHeight(int band) const
{
    return m_bands.at(size_t(band - 1)).minHeight;
}

void CoolBar::setBandVisible(int band, bool visible)
{
    m_bands.at(size_t(band - 1)).visible = visible;
    relayout();
}

bool CoolBar::isBandVisible(int band) const
{
    return m_bands.at(size_t(band - 1)).visible;
}

int CoolBar::barHeight() const
{
    int height = 0;
    for (const Band &b : m_bands) {
        if (b.child && b.visible)
            height += b.minHeight;
    }
    return height;
}

void CoolBar::relayout()
{
    for (const Band &b : m_bands) {
        if (!b.child)
            continue;
        b.child->setFixedHeight(b.minHeight);
        b.child->setVisible(b.visible);
    }
    const int height = barHeight();
    setFixedHeight(height);
    if (height != m_lastHeight) {
        m_lastHeight = height;
        Q_EMIT heightChanged(height);
    }
}

} // namespace orvane::ui
