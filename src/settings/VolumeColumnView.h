#pragma once
// The volume column's widgets: nine value boxes and nine spinners that mirror
// a VolumeColumn and hand every user action to it. No rule lives here. The
// window places the widgets.
#include "VolumeColumn.h"

#include <QObject>

#include <array>

class QLineEdit;
class QScrollBar;
class QWidget;

namespace sonmira::settings {

class VolumeColumnView : public QObject {
    Q_OBJECT
public:
    // Box background &H71DDC0.
    static constexpr unsigned BoxBackground = 0xC0DD71; // as 0xRRGGBB

    VolumeColumnView(VolumeColumn& column, QWidget* parent);
    ~VolumeColumnView() override;

    QLineEdit* box(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }
    QScrollBar* spinner(int index) const { return spinners_.at(static_cast<std::size_t>(index)); }

protected:
    // The key filter runs before the box takes a character.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showBox(int index);
    void showSpinner(int index);

    VolumeColumn& column_;
    std::array<QLineEdit*, VolumeColumn::Boxes> boxes_{};
    std::array<QScrollBar*, VolumeColumn::Boxes> spinners_{};
    bool mirroring_ = false; // set while widgets are updated from the column
};

} // namespace sonmira::settings
