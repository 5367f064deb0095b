#pragma once
// The volume column's widgets: nine value boxes and nine spinners that mirror
// a VolumeColumn and hand every user action to it. No rule lives here. The
// window places the widgets, or hands over the ones it has loaded.
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

    using Boxes = std::array<QLineEdit*, VolumeColumn::Boxes>;
    using Spinners = std::array<QScrollBar*, VolumeColumn::Boxes>;

    // Creates the boxes and spinners as children of parent.
    VolumeColumnView(VolumeColumn& column, QWidget* parent);
    // Works on boxes and spinners that exist already (a loaded window's).
    VolumeColumnView(VolumeColumn& column, const Boxes& boxes, const Spinners& spinners, QObject* parent);
    ~VolumeColumnView() override;

    QLineEdit* box(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }
    QScrollBar* spinner(int index) const { return spinners_.at(static_cast<std::size_t>(index)); }

protected:
    // The key filter runs before the box takes a character; the spinners'
    // wheel events end here.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A box as it stood before the user's next edit: its text, and where the
    // edit starts and how much of the text it replaces.
    struct AtRest {
        QString text;
        int start = 0;
        int length = 0;
    };

    void attach();
    void remember(int index, bool textChanged);
    // A user's edit of a box, held to the box's limit.
    void takeEdit(int index, const QString& edited);
    void showBox(int index);
    void showSpinner(int index);

    VolumeColumn& column_;
    Boxes boxes_{};
    Spinners spinners_{};
    std::array<AtRest, VolumeColumn::Boxes> atRest_{};
    bool mirroring_ = false; // set while widgets are updated from the column
};

} // namespace sonmira::settings
