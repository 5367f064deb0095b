#include "controls/C_ComboBox.h"

#include "controls/ControlPictures.h"
#include "platform/Desktop.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>

namespace sonmira::controls {

namespace {

constexpr double kRowPixels = 12.5; // list height per row
constexpr int kListRowPixels = 12;  // drawn rows: one list-font line (9 pt = 180 twips)
constexpr int kArrowWellPixels = 15; // right end of the box pictures, kept clear of the caption

int toPixels(double twips) { return roundHalfEven(twips / TwipsPerPixel); }

} // namespace

C_ComboBox::C_ComboBox(QWidget* parent)
    : SkinnedControl(ScaleMode::Twips, parent), label_(new QLabel(this)), list_(new QListWidget(this)) {
    setBackColor(0x3F3F3D); // the panel colour, round the box's corners
    setFocusPolicy(Qt::ClickFocus); // so that the focus leaving closes the list
    label_->setAttribute(Qt::WA_TransparentForMouseEvents); // a press on the caption is one on the box
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, toQColor(0xFFFFC0));
    label_->setPalette(palette);
    placeCaption();

    // The list is a top-level tool window owned by the control, placed in
    // screen coordinates, on top of all windows and never taking the focus.
    list_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus);
    list_->setAttribute(Qt::WA_ShowWithoutActivating);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setUniformItemSizes(true);
    list_->setFont(QFont(QStringLiteral("Arial"), 9));
    QPalette listPalette = list_->palette();
    listPalette.setColor(QPalette::Base, toQColor(0x7F7F7F));
    listPalette.setColor(QPalette::Text, Qt::black);
    list_->setPalette(listPalette);
    list_->setMouseTracking(true);
    list_->viewport()->setMouseTracking(true);
    list_->viewport()->installEventFilter(this);
    list_->resize(controlPicture(QStringLiteral("combo_normal")).width(), toPixels(listHeightTwips_));
    list_->hide();

    UserControl_Resize();
}

C_ComboBox::~C_ComboBox() = default;

QString C_ComboBox::normalPicture() const {
    return showSize_ ? QStringLiteral("combo_compact_normal") : QStringLiteral("combo_normal");
}

QString C_ComboBox::visiblePicture() const {
    if (!pressed_) return normalPicture();
    return showSize_ ? QStringLiteral("combo_compact_pressed") : QStringLiteral("combo_pressed");
}

void C_ComboBox::placeCaption() {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSizeF(showSize_ ? 9 : 10.5);
    label_->setFont(font);
    label_->move(40 / TwipsPerPixel, (showSize_ ? 10 : 50) / TwipsPerPixel);
    sizeCaption();
}

void C_ComboBox::sizeCaption() {
    label_->resize(std::max(0, width() - kArrowWellPixels - label_->x()), height());
}

void C_ComboBox::AddItem(const QString& ItemStr) {
    auto* item = new QListWidgetItem(ItemStr);
    item->setSizeHint(QSize(list_->width(), kListRowPixels));
    list_->addItem(item);
    if (list_->currentRow() < 0) list_->setCurrentRow(0); // the caption stays as it is
    listHeightTwips_ = list_->count() * kRowPixels * TwipsPerPixel;
    list_->resize(list_->width(), toPixels(listHeightTwips_));
    emit PropertyChanged(QStringLiteral("AddItem"));
}

std::int32_t C_ComboBox::TopIndex() const { return list_->currentRow(); }

void C_ComboBox::setTopIndex(std::int32_t index) {
    if (index >= list_->count()) index = list_->count() - 1;
    if (index < -1) index = -1; // nothing below "no selection"
    list_->setCurrentRow(index);
    if (index < 0) list_->clearSelection();
    label_->setText(index >= 0 ? list_->item(index)->text() : QString());
    emit PropertyChanged(QStringLiteral("TopIndex"));
}

void C_ComboBox::setShowSize(bool showSize) {
    showSize_ = showSize;
    UpdateFaceAndList();
    emit PropertyChanged(QStringLiteral("ShowSize"));
}

void C_ComboBox::UpdateFaceAndList() {
    showPicture(*this, controlPicture(visiblePicture()));
    if (!dropped_) {
        list_->hide();
        return;
    }
    const platform::QtDesktop qtDesktop;
    const platform::ScreenMetrics screen = (desktop_ ? desktop_ : &qtDesktop)->screen();
    const QPoint topLeft = mapToGlobal(QPoint(0, 0)); // window rectangle, pixels
    const double boxHeight = pixelsToTwips(controlPicture(normalPicture()).height());
    const double rectTop = topLeft.y() * double(screen.twipsPerPixelY);
    const double dropTop = roundHalfEven(rectTop + boxHeight + 1);
    const double left = topLeft.x() * double(screen.twipsPerPixelX);
    const double top = listHeightTwips_ + dropTop >= double(screen.heightTwips)
                           ? rectTop - listHeightTwips_ - 1 // would reach the bottom: open above
                           : rectTop + boxHeight + 1;
    listTwips_ = QPoint(roundHalfEven(left), roundHalfEven(top));
    list_->move(toPixels(left), toPixels(top));
    list_->show(); // a stays-on-top window: above every other
}

void C_ComboBox::UserControl_Resize() {
    // The normal box picture's size, whatever the host asked.
    const QSize box = controlPicture(normalPicture()).size();
    if (size() != box) {
        resize(box); // a visible control comes back here at once
        if (size() != box) return;
    }
    sizeCaption();
    ApplyWindowRegion();
    UpdateFaceAndList();
}

void C_ComboBox::mousePressEvent(QMouseEvent*) {
    pressed_ = true;
    dropped_ = !dropped_;
    ApplyWindowRegion();
    UpdateFaceAndList();
}

void C_ComboBox::mouseReleaseEvent(QMouseEvent*) {
    pressed_ = false;
    ApplyWindowRegion();
    UpdateFaceAndList();
}

void C_ComboBox::closeList() {
    dropped_ = false;
    ApplyWindowRegion();
    UpdateFaceAndList();
}

void C_ComboBox::focusOutEvent(QFocusEvent* e) {
    SkinnedControl::focusOutEvent(e);
    // The list never takes the activation; should a platform hand it over
    // anyway, that is no reason to close it.
    if (QApplication::activeWindow() == list_) return;
    if (dropped_) closeList();
}

void C_ComboBox::listHover(int y) {
    // Rows by the list font's line height: y twips / (points x 20), plus the
    // first visible row.
    const int yTwips = y * TwipsPerPixel;
    const int rowTwips = std::max(1, roundHalfEven(list_->font().pointSizeF() * 20));
    const QModelIndex first = list_->indexAt(QPoint(0, 0));
    const int row = yTwips / rowTwips + (first.isValid() ? first.row() : 0);
    if (y >= 0 && row >= 0 && row < list_->count()) list_->setCurrentRow(row);
}

void C_ComboBox::listPress() {
    dropped_ = false;
    const int row = list_->currentRow();
    label_->setText(row >= 0 ? list_->item(row)->text() : QString());
    ApplyWindowRegion();
    UpdateFaceAndList();
    emit Click(row);
}

bool C_ComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_->viewport()) return SkinnedControl::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        listHover(static_cast<int>(static_cast<QMouseEvent*>(event)->position().y()));
        return true;
    case QEvent::MouseButtonPress:
        listPress();
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true; // the list's own selection rules do not apply
    default:
        return false;
    }
}

void C_ComboBox::UserControl_ReadProperties(const PropertyBag& bag) {
    showSize_ = bag.readBoolean(QStringLiteral("ShowSize"), false);
    placeCaption();
    // The platform resizes a control right after loading it.
    UserControl_Resize();
}

void C_ComboBox::UserControl_WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("ShowSize"), showSize_);
}

} // namespace sonmira::controls
