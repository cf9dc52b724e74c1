#pragma once

#include <QWidget>

#include <array>

class QVBoxLayout;

namespace orvane::ui {

// The control bar below the picture area: five bands, each on a row of its
// own, each as high as its minimum height. Raises heightChanged whenever
// showing or hiding a band (or the whole bar) changes its height.
class CoolBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kBands = 5;

    explicit CoolBar(QWidget *parent = nullptr);

    // Band 1 to 5 holds child, at least minHeight pixels high.
    void setBand(int band, QWidget *child, int minHeight);
    QWidget *bandChild(int band) const;
    void setBandMinHeight(int band, int minHeight);
    int bandMinHeight(int band) const;
    void setBandVisible(int band, bool visible);
    bool isBandVisible(int band) const;

    // The height the visible bands take.
    int barHeight() const;

Q_SIGNALS:
    void heightChanged(int height);

private:
    void relayout();

    struct Band {
        QWidget *child = nullptr;
        int minHeight = 0;
        bool visible = true;
    };
    std::array<Band, kBands> m_bands;
    QVBoxLayout *m_layout;
    int m_lastHeight = -1;
};

} // namespace orvane::ui
