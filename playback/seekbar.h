#pragma once

namespace orvane::playback {

// The seek bar (silSeek) as the playback code sees it: a slider with a
// range from 0, step sizes and an enabled flag. The main window's slider
// implements it; tests use a plain fake.
class SeekBar
{
public:
    virtual ~SeekBar() = default;
    virtual int value() const = 0;
    virtual void setValue(int value) = 0;
    virtual int maximum() const = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void setLargeChange(int steps) = 0;
    virtual void setSmallChange(int steps) = 0;
    virtual void setTickFrequency(int steps) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};

} // namespace orvane::playback
