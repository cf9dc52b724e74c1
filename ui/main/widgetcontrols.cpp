#include "ui/main/widgetcontrols.h"

#include "ui/main/statuslabel.h"

#include <QSignalBlocker>
#include <QSlider>

namespace orvane::ui {

int SliderSeekBar::value() const
{
    // While the user drags, the handle is ahead of the value: Qt reports a
    // move before it takes the new value over. What the user sees counts.
    return m_slider->sliderPosition();
}

void SliderSeekBar::setValue(int value)
{
    m_slider->setValue(value);
}

int SliderSeekBar::maximum() const
{
    return m_slider->maximum();
}

void SliderSeekBar::setMaximum(int maximum)
{
    m_slider->setMaximum(std::max(0, maximum));
}

void SliderSeekBar::setLargeChange(int steps)
{
    m_slider->setPageStep(steps);
}

void SliderSeekBar::setSmallChange(int steps)
{
    m_slider->setSingleStep(steps);
}

void SliderSeekBar::setTickFrequency(int steps)
{
    m_slider->setTickInterval(steps);
}

bool SliderSeekBar::isEnabled() const
{
    return m_slider->isEnabled();
}

void SliderSeekBar::setEnabled(bool enabled)
{
    m_slider->setEnabled(enabled);
}

QString LabelStatusLine::text() const
{
    return m_label->text();
}

void LabelStatusLine::setText(const QString &text)
{
    m_label->setText(text);
}

} // namespace orvane::ui
