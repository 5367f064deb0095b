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
    void attach();
    // What box i takes of the user's input beside the text the input leaves
    // in place (all but the selection and `replaced` more characters): the
    // input cut to the room left under the box's limit.
    QString fitted(int index, const QString& input, qsizetype replaced = 0) const;
    // The user's input put in at the caret over the selection, as the box
    // would, but cut to fit. Input with no room at all changes nothing.
    void insertInput(int index, const QString& input);
    // The box's own menu, whose Paste goes by the same rule.
    void showMenu(int index, const QPoint& globalPos);
    // Every way the user brings text into a box (typing, pasting, a
    // middle-click, a drop, an input method) is held to its limit before the
    // box takes it, so the box's undo history only ever holds what it showed.
    bool filterBoxEvent(int index, QEvent* event);
    void showBox(int index);
    void showSpinner(int index);

    VolumeColumn& column_;
    Boxes boxes_{};
    Spinners spinners_{};
    bool mirroring_ = false; // set while widgets are updated from the column
};

} // namespace sonmira::settings
