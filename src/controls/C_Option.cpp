#include "controls/C_Option.h"

#include "controls/ControlPictures.h"

#include <QLabel>

namespace sonmira::controls {

namespace {
const QString kSet = QStringLiteral("option_set");
const QString kClear = QStringLiteral("option_clear");

int toPixels(int twips) { return roundHalfEven(twips / double(TwipsPerPixel)); }
} // namespace

C_Option::C_Option(QWidget* parent) : ClickableControl(ScaleMode::Twips, parent), label_(new QLabel(this)) {
    setBackColor(0x7F7F7F);
    setCursor(handCursor());
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10.5);
    label_->setFont(font);
    label_->setText(QStringLiteral("Label1"));
    label_->setAttribute(Qt::WA_TransparentForMouseEvents); // its clicks are the control's
    // Right of the dot with 40 twips between; 1455 x 255 twips.
    label_->setGeometry((pixelsToTwips(controlPicture(kSet).width()) + 40) / TwipsPerPixel, 0, 1455 / TwipsPerPixel,
                        255 / TwipsPerPixel);
    setSizeTwips(MinWidthTwips, HeightTwips);
}

QString C_Option::Caption() const { return label_->text(); }

void C_Option::setCaption(const QString& caption) {
    label_->setText(caption);
    RefreshLook();
    emit PropertyChanged(QStringLiteral("Caption"));
}

void C_Option::setValue(bool value) {
    value_ = value;
    RefreshLook();
    emit PropertyChanged(QStringLiteral("Value"));
}

QString C_Option::visiblePicture() const { return value_ ? kSet : kClear; }

void C_Option::RefreshLook() {
    showPicture(*this, controlPicture(visiblePicture()));
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, toQColor(value_ ? 0x00FFFF : 0x3E4040));
    label_->setPalette(palette);
}

void C_Option::setSizeTwips(int widthTwips, int heightTwips) {
    (void)heightTwips; // the height is fixed
    twips_ = QSize(std::max(widthTwips, MinWidthTwips), HeightTwips);
    setMinimumSize(toPixels(MinWidthTwips), toPixels(HeightTwips));
    setMaximumHeight(toPixels(HeightTwips));
    resize(toPixels(twips_.width()), toPixels(twips_.height()));
    ApplyWindowRegion();
}

QSize C_Option::sizeTwips() const {
    // A size set in pixels since counts in whole pixels, under the same rule.
    if (size() == QSize(toPixels(twips_.width()), toPixels(twips_.height()))) return twips_;
    return {std::max(pixelsToTwips(width()), MinWidthTwips), HeightTwips};
}

void C_Option::UserControl_Resize() {
    twips_ = sizeTwips();
    ApplyWindowRegion();
}

void C_Option::UserControl_ReadProperties(const PropertyBag& bag) {
    label_->setText(bag.readString(QStringLiteral("Caption"), QStringLiteral("Label1")));
    value_ = bag.readBoolean(QStringLiteral("Value"), false);
}

void C_Option::UserControl_WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Caption"), label_->text());
    bag.WriteProperty(QStringLiteral("Value"), value_);
}

} // namespace sonmira::controls
