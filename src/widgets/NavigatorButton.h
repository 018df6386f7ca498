#pragma once

#include <QAbstractButton>

namespace korvex {

enum class TButtonLayout;

// A navigator button: a picture and a caption placed by layout, margin and
// spacing the way the record navigator's buttons place them.
class NavigatorButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit NavigatorButton(QWidget *parent = nullptr);

    void setGlyph(const QPixmap &glyph);
    void setPlacement(TButtonLayout layout, int margin, int spacing);

    // Where the picture and the caption stand inside the given rectangle.
    struct Placement
    {
        QRect glyph;
        QRect caption;
    };
    Placement placement(const QRect &area) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_glyph;
    TButtonLayout m_layout;
    int m_margin = 4;
    int m_spacing = -1;
};

} // namespace korvex
