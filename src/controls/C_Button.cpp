#include "controls/C_Button.h"

#include "controls/ControlPictures.h"

#include <QLabel>
#include <QMouseEvent>

namespace sonmira::controls {

namespace {

struct Look {
    ColorRef caption;
    int captionTopTwips;
};
// Normal, hover, pressed: the caption rises on hover and sinks when pressed.
constexpr Look kLooks[3] = {{0xE3E1DF, 80}, {0xE3E1DF, 70}, {0xFFC0C0, 90}};

} // namespace

C_Button::C_Button(QWidget* parent)
    : SkinnedControl(ScaleMode::Twips, parent), label_(new QLabel(this)), subclass_(*this) {
    setBackColor(0x3F3F3D); // the panel colour, round the face's corners
    setMouseTracking(true); // the hover face follows the pointer without a button held
    setFocusPolicy(Qt::ClickFocus); // a press takes the focus, as from an open drop-down list
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    label_->setFont(font);
    label_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents); // presses act on the face beneath
    label_->setText(QStringLiteral("按钮"));
    FitToFace();
    DrawFace();
}

C_Button::~C_Button() { subclass_.UnsubclassAll(); }

QString C_Button::faceName(int state) const {
    // Two styles have faces; any other shows none.
    if (buttonIndex_ > 1 || state < 0 || state > 2) return {};
    static const char* const looks[] = {"normal", "hover", "pressed"};
    return QStringLiteral("button_%1_%2")
        .arg(buttonIndex_ == 0 ? QStringLiteral("large") : QStringLiteral("small"))
        .arg(QLatin1String(looks[state]));
}

void C_Button::DrawFace() {
    if (buttonIndex_ <= 1) {
        QFont font = label_->font();
        font.setPointSize(buttonIndex_ == 0 ? 12 : 8);
        label_->setFont(font);
    }
    visibleFace_ = faceName(state_);
    showPicture(*this, visibleFace_.isEmpty() ? QPixmap() : controlPicture(visibleFace_));
    if (state_ > 2) return; // no face; caption as it was
    const Look& look = kLooks[state_];
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, toQColor(look.caption));
    label_->setPalette(palette);
    // Whole pixels, rounded down, so that the three offsets stay apart.
    label_->move(label_->x(), look.captionTopTwips / TwipsPerPixel);
}

void C_Button::centreCaption() {
    label_->resize(width(), height());
    label_->move(width() / 2 - label_->width() / 2, label_->y());
}

void C_Button::FitToFace() {
    fitToPicture(*this, faceName(0));
    centreCaption();
}

void C_Button::UserControl_Resize() {
    FitToFace();
    ApplyWindowRegion();
}

void C_Button::setState(std::uint8_t state) {
    if (state == state_) return;
    state_ = state;
    DrawFace();
    emit PropertyChanged(QStringLiteral("State"));
}

QString C_Button::Caption() const { return label_->text(); }

void C_Button::setCaption(const QString& caption) {
    label_->setText(caption);
    FitToFace();
    emit PropertyChanged(QStringLiteral("Caption"));
}

void C_Button::setButtonIndex(std::uint8_t index) {
    buttonIndex_ = index;
    FitToFace();
    DrawFace();
    emit PropertyChanged(QStringLiteral("ButtonIndex"));
}

void C_Button::UserControl_Paint() {
    // While the host handles Click the pressed face stays on screen, however
    // often the window repaints (it does when the host disables it).
    if (!raisingClick_) DrawFace();
}

void C_Button::mousePressEvent(QMouseEvent*) {
    pressed_ = true;
    state_ = 2;
    DrawFace();
}

void C_Button::mouseMoveEvent(QMouseEvent*) {
    state_ = pressed_ ? 2 : 1;
    DrawFace();
}

void C_Button::mouseReleaseEvent(QMouseEvent*) {
    // The pressed face stays on screen while the host handles Click.
    pressed_ = false;
    state_ = 1;
    const bool outer = raisingClick_;
    raisingClick_ = true;
    emit Click();
    raisingClick_ = outer;
    DrawFace();
}

void C_Button::zSubclass_Proc(bool, bool&, std::int32_t&, QWidget*, std::int32_t uMsg, QEvent*) {
    if (uMsg == MsgMouseMove) {
        if (tracking_) return;
        tracking_ = true;
        if (canTrack_) ArmMouseLeave(this); // the user32 and comctl32 entry points are the same here
        state_ = 1;
        DrawFace();
        emit MouseEnter();
    } else if (uMsg == MsgMouseLeave) {
        tracking_ = false;
        state_ = 0;
        DrawFace();
        emit MouseLeave();
    }
}

void C_Button::UserControl_ReadProperties(const PropertyBag& bag) {
    buttonIndex_ = bag.readByte(QStringLiteral("ButtonIndex"), 0);
    label_->setText(bag.readString(QStringLiteral("Caption"), QStringLiteral("按钮")));
    centreCaption();

    canTrack_ = true;
    useUser32Track_ = IsFunctionExported(QStringLiteral("TrackMouseEvent"), QStringLiteral("User32"));
    if (!useUser32Track_ && !IsFunctionExported(QStringLiteral("_TrackMouseEvent"), QStringLiteral("Comctl32")))
        canTrack_ = false;
    if (canTrack_ && subclass_.records().empty()) {
        subclass_.SubclassWindow(this);
        subclass_.AddSubclassMessage(this, MsgMouseMove, PhaseAfter);
        subclass_.AddSubclassMessage(this, MsgMouseLeave, PhaseAfter);
    }
    // The platform resizes a control right after loading it.
    UserControl_Resize();
}

void C_Button::UserControl_WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("ButtonIndex"), buttonIndex_);
    bag.WriteProperty(QStringLiteral("Caption"), label_->text());
}

} // namespace sonmira::controls
