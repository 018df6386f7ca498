#pragma once

#include "platform/Dataset.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>

namespace korvex {
class NavigatorButton;

enum class NavigateButton { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TNavigOrientation { noHorizontal, noVertical };

// A strip of ten record buttons over a dataset, with Czech captions, a
// horizontal or vertical layout and events that replace the standard
// actions of the editing buttons.
class TDBNavigatorTarvo : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kButtons = 10;

    explicit TDBNavigatorTarvo(QWidget *parent = nullptr);

    void setDataset(Dataset *dataset);
    Dataset *dataset() const { return m_dataset; }

    void setVisibleButtons(std::initializer_list<NavigateButton> buttons);
    bool isButtonVisible(NavigateButton b) const { return m_visible[size_t(b)]; }
    NavigatorButton *button(NavigateButton b) const { return m_buttons[size_t(b)]; }

    const QStringList &Captions() const { return m_captions; }
    void setCaptions(const QStringList &captions);
    TButtonLayout ButtonLayout() const { return m_layout; }
    void setButtonLayout(TButtonLayout layout);
    int ButtonMargin() const { return m_margin; }
    void setButtonMargin(int margin);
    int ButtonSpacing() const { return m_spacing; }
    void setButtonSpacing(int spacing);
    TNavigOrientation NavigOrientation() const { return m_orientation; }
    void setNavigOrientation(TNavigOrientation orientation);
    // Aligned to its parent: the size is kept and spare pixels are spread.
    void setAligned(bool aligned) { m_aligned = aligned; }

    // Places the buttons for a proposed size and returns the size the
    // navigator takes.
    QSize arrange(QSize proposed);

    std::function<void()> OnClickInsert, OnClickDelete, OnClickCancel, OnClickEdit, OnClickPost, OnClickRefresh;
    // Asks "Delete record?"; true for OK.
    std::function<bool(const QString &question)> confirm;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void clicked(NavigateButton b);
    void applyPlacement();
    void updateEnabled();
    int visibleCount() const;

    QPointer<Dataset> m_dataset;
    std::array<NavigatorButton *, kButtons> m_buttons{};
    std::array<bool, kButtons> m_visible{};
    QStringList m_captions;
    TButtonLayout m_layout = TButtonLayout::blGlyphLeft;
    int m_margin = 4;
    int m_spacing = -1;
    TNavigOrientation m_orientation = TNavigOrientation::noHorizontal;
    bool m_aligned = false;
    bool m_arranging = false;
};

} // namespace korvex
