#pragma once
// Drop-down list drawn from pictures: a box showing the selected item and a
// list that opens below the box, or above it when it would reach the bottom
// of the screen. Hovering the open list selects the row under the pointer; a
// press on a row closes the list, shows the row in the box and raises
// Click(row). A second press on the box, or the focus leaving the control,
// closes the list without an event.
#include "controls/SkinnedControl.h"

#include <cstdint>

class QLabel;
class QListWidget;

namespace sonmira::platform {
class Desktop;
}

namespace sonmira::controls {

class C_ComboBox : public SkinnedControl {
    Q_OBJECT
public:
    explicit C_ComboBox(QWidget* parent = nullptr);
    ~C_ComboBox() override;

    void AddItem(const QString& ItemStr);
    // The selected row, -1 for none. A write past the last row takes the
    // last row and raises nothing.
    std::int32_t TopIndex() const;
    void setTopIndex(std::int32_t index);
    bool ShowSize() const { return showSize_; }
    void setShowSize(bool showSize);

    // Where the screen size comes from (the platform's screen when unset).
    void setDesktop(const platform::Desktop* desktop) { desktop_ = desktop; }

    void UserControl_ReadProperties(const PropertyBag& bag) override;
    void UserControl_WriteProperties(PropertyBag& bag) const override;

    // For inspection.
    bool dropped() const { return dropped_; }
    QString visiblePicture() const;
    QLabel* captionLabel() const { return label_; }
    QListWidget* list() const { return list_; }
    // The open list's place on the screen in twips, as last placed.
    QPoint listPositionTwips() const { return listTwips_; }
    double listHeightTwips() const { return listHeightTwips_; }

signals:
    void Click(std::int32_t E_Index);

protected:
    void UserControl_Paint() override { UpdateFaceAndList(); }
    void UserControl_Show() override { update(); }
    void UserControl_Resize() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateFaceAndList();
    void placeCaption();
    void sizeCaption();
    void closeList();
    void listHover(int y);
    void listPress();
    QString normalPicture() const;

    bool pressed_ = false;
    bool dropped_ = false;
    bool showSize_ = false;
    QLabel* label_;
    QListWidget* list_;
    double listHeightTwips_ = 1290; // the design's height until the first item
    QPoint listTwips_;
    const platform::Desktop* desktop_ = nullptr;
};

} // namespace sonmira::controls
