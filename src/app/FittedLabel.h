#pragma once
#include <QLabel>

namespace sonmira::app {

// A plain one-line label whose text is never cut at its sides. Text that is
// wider than the label in its font is drawn condensed horizontally (same
// font, same height, same colour) about the point its alignment keeps: the
// left edge, the centre or the right edge. The label's place and size stay.
class FittedLabel final : public QLabel {
public:
    using QLabel::QLabel;

    // The horizontal scale the text is drawn with: 1, or less when the text
    // would be wider than the label.
    qreal squeeze() const;

protected:
    void paintEvent(QPaintEvent* e) override;
};

} // namespace sonmira::app
