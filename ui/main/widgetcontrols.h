#pragma once

#include "playback/playbackwindow.h"
#include "playback/seekbar.h"

class QSlider;

namespace orvane::ui {

// The seek slider as the playback code's seek bar.
class SliderSeekBar final : public playback::SeekBar
{
public:
    explicit SliderSeekBar(QSlider *slider)
        : m_slider(slider)
    {}
    int value() const override;
    void setValue(int value) override;
    int maximum() const override;
    void setMaximum(int maximum) override;
    void setLargeChange(int steps) override;
    void setSmallChange(int steps) override;
    void setTickFrequency(int steps) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;

private:
    QSlider *m_slider;
};

class StatusLabel;

// The status label as the playback code's status line.
class LabelStatusLine final : public playback::StatusLine
{
public:
    explicit LabelStatusLine(StatusLabel *label)
        : m_label(label)
    {}
    QString text() const override;
    void setText(const QString &text) override;

private:
    StatusLabel *m_label;
};

} // namespace orvane::ui
