#include "C_ScrollBar.h"

#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <cmath>

// Resources of a static library must be registered by name, outside any namespace.
static void initFaderResources() { Q_INIT_RESOURCE(fader); }

namespace sonmira::controls {

namespace {

constexpr int KeyUp = 38;
constexpr int KeyDown = 40;
// Any key but the two arrows. Qt's own codes cannot be passed on as they are:
// "&" and "(" share their numbers with the arrows' key codes.
constexpr int KeyOther = -1;
constexpr int PointerDefault = 0;
constexpr int PointerCustom = 99;
constexpr int TitleCentreX = 51;
constexpr int LabelHeight = 12; // 180 twips

const char* const DelayTable[16] = {"12ms",  "24ms",  "36ms",  "49ms",  "61ms",  "73ms",
                                    "86ms",  "98ms",  "110ms", "122ms", "135ms", "147ms",
                                    "159ms", "172ms", "184ms", "196ms"};
const char* const LevelTable[7] = {"OFF", "0.775V", "1V", "1.2V", "1.5V", "1.75V", "2V"};

// Ten knob lines, normal look then hot look; only the middle two differ.
constexpr std::array<ColorRef, 20> KnobColours = {
    0x1B221F, 0x9E9D9B, 0x95918F, 0x1B221F, 0x389ACE, 0x3993C3, 0x1B221F, 0x9E9D9B, 0x95918F, 0x1B221F,
    0x1B221F, 0x9E9D9B, 0x95918F, 0x1B221F, 0x00FFFF, 0x00FFFF, 0x1B221F, 0x9E9D9B, 0x95918F, 0x1B221F};
constexpr ColorRef TickColour = 0x171A1F;
constexpr ColorRef KnobSideColour = 0x1B221F;
constexpr ColorRef FrameShadow = 0x737373;
constexpr ColorRef FrameLight = 0xDCDEDE;

const QCursor& faderCursor() {
    // Made on first use and kept to the end: a cursor must not outlive the
    // application object, which is gone before static objects are destroyed.
    static const QCursor* cursor = [] {
        initFaderResources();
        QSvgRenderer svg(QStringLiteral(":/controls/fader_cursor.svg"));
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        svg.render(&p);
        p.end();
        return new QCursor(pm, 16, 16);
    }();
    return *cursor;
}

QLabel* makeLabel(QWidget* parent, qreal points, ColorRef colour, Qt::Alignment align, int x,
                  int y, int widthTwips) {
    auto* l = new QLabel(parent);
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    l->setFont(f);
    QPalette pal = l->palette();
    // The same colour in every state: the scale labels are disabled, yet show their texts.
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::WindowText, toQColor(colour));
    l->setPalette(pal);
    l->setAlignment(align | Qt::AlignTop);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->setGeometry(x, y, twipsToPixels(widthTwips), LabelHeight);
    return l;
}

QString decimalWithOneDigit(int tenths) {
    // The number format "0.0" with the user's decimal separator.
    const int whole = std::abs(tenths) / 10;
    const int digit = std::abs(tenths) % 10;
    return QStringLiteral("%1%2%3%4")
        .arg(tenths < 0 ? QStringLiteral("-") : QString())
        .arg(whole)
        .arg(QLocale::system().decimalPoint())
        .arg(digit);
}

} // namespace

C_ScrollBar::C_ScrollBar(QWidget* parent) : SkinnedControl(ScaleMode::Pixels, parent) {
    // UserControl_Initialize
    setBackColor(FaderBackColor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    Label1 = makeLabel(this, 6.75, 0x80FFFF, Qt::AlignLeft, 0, 1, 360);
    Label2 = makeLabel(this, 7.5, 0xE0E0E0, Qt::AlignHCenter, TrackLeft + 3, 15, 390);
    Label3 = makeLabel(this, 7.5, 0xC0C0C0, Qt::AlignRight, 0, 420 / TwipsPerPixel, 480);
    Label4 = makeLabel(this, 7.5, 0xC0C0C0, Qt::AlignRight, 0, 870 / TwipsPerPixel, 480);
    Label5 = makeLabel(this, 7.5, 0xC0C0C0, Qt::AlignRight, 0, 1305 / TwipsPerPixel, 480);
    Label3->setEnabled(false);
    Label4->setEnabled(false);
    Label5->setEnabled(false);
    centreTitle();

    resize(twipsToPixels(1095), twipsToPixels(HeightTwips));
    pixelsPerUnit_ = travelPerUnit();
}

C_ScrollBar::~C_ScrollBar() = default;

// --- properties --------------------------------------------------------------

void C_ScrollBar::setEnabled(bool on) {
    enabled_ = on;
    PaintFader();
    emit PropertyChanged(QStringLiteral("Enabled"));
}

void C_ScrollBar::setValue(int v) {
    value_ = std::clamp(v, 0, maxValue_);
    UpdateValueText();
    PaintFader();
    emit PropertyChanged(QStringLiteral("Value"));
}

QString C_ScrollBar::ValueTip() const { return Label2->text(); }

void C_ScrollBar::setValueTip(const QString& text) { writeCaption(Label2, text, "ValueTip"); }

int C_ScrollBar::atLeastOne(int max) {
    // The travel is divided by the maximum; 0 or less would divide by zero
    // or turn the scale upside down.
    return std::max(max, 1);
}

float C_ScrollBar::travelPerUnit() const { return (showSize_ ? 69.0f : 58.0f) / float(maxValue_); }

int C_ScrollBar::halfOf(int max) const { return roundHalfEven(max / 2.0); }

void C_ScrollBar::setMaxValue(int max) {
    maxValue_ = atLeastOne(max);
    value_ = halfOf(maxValue_);
    UpdateValueText();
    PaintFader();
    emit PropertyChanged(QStringLiteral("MaxValue"));
}

void C_ScrollBar::setMaxValuePreview(int max) {
    maxValue_ = atLeastOne(max);
    if (value_ > maxValue_) value_ = maxValue_;
    UpdateValueText();
    PaintFader();
    emit PropertyChanged(QStringLiteral("MaxValuePreview"));
}

QString C_ScrollBar::Title() const { return Label1->text(); }

void C_ScrollBar::setTitle(const QString& title) { writeCaption(Label1, title, "Title"); }

bool C_ScrollBar::TitleVisible() const { return !Label1->isHidden(); }

void C_ScrollBar::setTitleVisible(bool on) {
    Label1->setVisible(on);
    PaintFader();
    emit PropertyChanged(QStringLiteral("TitleVisible"));
}

void C_ScrollBar::setShowSize(bool on) {
    showSize_ = on;
    PaintFader();
    emit PropertyChanged(QStringLiteral("ShowSize"));
}

QString C_ScrollBar::Text1() const { return Label3->text(); }
QString C_ScrollBar::Text2() const { return Label4->text(); }
QString C_ScrollBar::Text3() const { return Label5->text(); }

void C_ScrollBar::setText1(const QString& text) { writeCaption(Label3, text, "Text1"); }
void C_ScrollBar::setText2(const QString& text) { writeCaption(Label4, text, "Text2"); }
void C_ScrollBar::setText3(const QString& text) { writeCaption(Label5, text, "Text3"); }

void C_ScrollBar::writeCaption(QLabel* label, const QString& text, const char* name) {
    label->setText(text);
    if (label == Label1) centreTitle();
    PaintFader();
    emit PropertyChanged(QString::fromLatin1(name));
}

void C_ScrollBar::setValueGlobal(bool on) {
    valueGlobal_ = on;
    emit PropertyChanged(QStringLiteral("ValueGlobal"));
}

void C_ScrollBar::setValueTipType(int type) {
    valueTipType_ = type;
    UpdateValueText();
    PaintFader();
    emit PropertyChanged(QStringLiteral("ValueTipType"));
}

void C_ScrollBar::centreTitle() {
    Label1->resize(Label1->sizeHint().width(), LabelHeight);
    Label1->move(TitleCentreX - Label1->width() / 2, 1);
}

// --- design-time settings ------------------------------------------------------

void C_ScrollBar::UserControl_InitProperties() {
    setMaxValue(10);
    setEnabled(true);
    setShowSize(false);
}

void C_ScrollBar::UserControl_ReadProperties(const PropertyBag& bag) {
    const QString none = QStringLiteral("None");
    maxValue_ = atLeastOne(bag.readLong("MaxValue", 10));
    value_ = halfOf(maxValue_);
    Label1->setText(bag.readString("Title", none));
    centreTitle();
    Label2->setText(bag.readString("ValueTip", none));
    Label3->setText(bag.readString("Text1", none));
    Label4->setText(bag.readString("Text2", none));
    Label5->setText(bag.readString("Text3", none));
    enabled_ = bag.readBoolean("Enabled", true);
    showSize_ = bag.readBoolean("ShowSize", false);
    Label1->setVisible(bag.readBoolean("TitleVisible", true));
    valueGlobal_ = bag.readBoolean("ValueGlobal", false);
    valueTipType_ = bag.readLong("ValueTipType", 0);
    UpdateValueText();
    // The first paint may be yet to come; a drag needs the stored scale now.
    pixelsPerUnit_ = travelPerUnit();
}

void C_ScrollBar::UserControl_WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty("MaxValue", std::int32_t(maxValue_));
    bag.WriteProperty("Title", Label1->text());
    bag.WriteProperty("ValueTip", Label2->text());
    bag.WriteProperty("Text1", Label3->text());
    bag.WriteProperty("Text2", Label4->text());
    bag.WriteProperty("Text3", Label5->text());
    bag.WriteProperty("Enabled", enabled_);
    bag.WriteProperty("ShowSize", showSize_);
    bag.WriteProperty("TitleVisible", TitleVisible());
    bag.WriteProperty("ValueGlobal", valueGlobal_);
    bag.WriteProperty("ValueTipType", std::int32_t(valueTipType_));
}

// --- drawing -------------------------------------------------------------------

void C_ScrollBar::UpdateValueText() {
    const int v = value_;
    QString text;
    switch (valueTipType_) {
    case 0: text = QString::number(v); break;
    case 1:
        // A value past the table keeps the text it has.
        if (v < 0 || v >= int(std::size(DelayTable))) return;
        text = QString::fromLatin1(DelayTable[v]);
        break;
    case 2: text = decimalWithOneDigit(v) + QStringLiteral("s"); break;
    case 3: text = QString::number(v) + QStringLiteral("ms"); break;
    case 4: text = QString::number(3 * v) + QStringLiteral("ms"); break;
    case 5: text = QString::number(v) + QStringLiteral("dB"); break;
    case 6:
        if (v == 10) text = QStringLiteral("0dB");
        else if (v > 10) text = QStringLiteral("+%1dB").arg(v - 10);
        else text = QStringLiteral("%1dB").arg(v - 10);
        break;
    case 8: text = QString::number(10 * v + 20) + QStringLiteral("Hz"); break;
    case 9:
        if (v < 0 || v >= int(std::size(LevelTable))) return;
        text = QString::fromLatin1(LevelTable[v]);
        break;
    default: return; // 7 and unlisted types keep what ValueTip set
    }
    Label2->setText(text);
}

void C_ScrollBar::PaintFader() {
    QImage& dc = hDC();
    const int tickStep = showSize_ ? 7 : 6;
    // Made once, at the first paint, for the look the fader had then.
    if (!eraseRegion_)
        eraseRegion_ = CreateRectRgn(TrackLeft - 1, TrackTop + 2, TrackLeft + 35,
                                     TrackTop + (showSize_ ? 83 : 72));
    FillRgnColor(dc, *eraseRegion_, BackColor());

    for (int i = 0; i <= 10; ++i) {
        const int y = TrackTop + (11 - i) * tickStep;
        if (i % 5 == 0) DrawLine(dc, TrackLeft, y, TrackLeft + 33, y, TickColour, 3);
        else DrawLine(dc, TrackLeft + 1, y, TrackLeft + 32, y, TickColour, 1);
    }
    DrawLine(dc, TrackLeft + 17, TrackTop + 5, TrackLeft + 17, TrackTop + (showSize_ ? 79 : 68),
             TickColour, 3);

    pixelsPerUnit_ = travelPerUnit();
    knobY_ = roundHalfEven(float(maxValue_ - value_) * pixelsPerUnit_ + float(TrackTop) + 8.0f);

    for (int j = 0; j <= 9; ++j) {
        const int y = knobY_ - 5 + j;
        DrawLine(dc, TrackLeft, y, TrackLeft + 33, y, KnobColours[hot_ ? j + 10 : j], 1);
    }
    DrawLine(dc, TrackLeft - 1, knobY_ - 5, TrackLeft - 1, knobY_ + 5, KnobSideColour, 1);
    DrawLine(dc, TrackLeft + 33, knobY_ - 5, TrackLeft + 33, knobY_ + 5, KnobSideColour, 1);

    DrawLine(dc, TrackLeft, 14, TrackLeft, 27, FrameShadow, 2);
    DrawLine(dc, TrackLeft - 1, 14, TrackLeft + 33, 14, FrameShadow, 2);
    DrawLine(dc, TrackLeft + 33, 14, TrackLeft + 33, 27, FrameLight, 2);
    DrawLine(dc, TrackLeft - 1, 27, TrackLeft + 33, 27, FrameLight, 2);
}

// --- geometry and input -----------------------------------------------------------

void C_ScrollBar::UserControl_Resize() {
    const int labelRow5 = showSize_ ? 1455 : 1305;
    const int labelRow4 = showSize_ ? 945 : 870;
    Label5->move(Label5->x(), labelRow5 / TwipsPerPixel);
    Label4->move(Label4->x(), labelRow4 / TwipsPerPixel);
    const int h = twipsToPixels(showSize_ ? HeightTwipsTall : HeightTwips);
    if (height() != h) resize(width(), h);
    ApplyWindowRegion();
}

void C_ScrollBar::leaveKnob() {
    ownTag_.clear();
    if (QWidget::mouseGrabber() == this) releaseMouse();
    mousePointer_ = PointerDefault;
    unsetCursor();
    hot_ = false;
    keyActive_ = false;
    PaintFader();
}

void C_ScrollBar::UserControl_MouseMove(float X, float Y) {
    if (!enabled_) return;
    const bool inKnob = X >= 33 && X <= 69 && Y >= knobY_ - 6 && Y <= knobY_ + 6;
    const bool isIn = ownTag_ == QLatin1String("In");
    if (!inKnob && isIn) {
        leaveKnob();
    } else if (inKnob && !isIn) {
        ownTag_ = QStringLiteral("In");
        // Capture, so that the move that leaves the knob still reaches the fader.
        if (isVisible()) grabMouse();
        mousePointer_ = PointerCustom;
        setCursor(faderCursor());
        hot_ = true;
        emit MouseIn();
        keyActive_ = true;
        PaintFader();
        // The arrow keys act only on a fader that has the focus.
        setFocus(Qt::MouseFocusReason);
    }

    if (X < 33 || X > 69 || Y < 0 || Y > ScaleHeight()) dragging_ = false;
    if (dragging_) {
        const float mapped = float(maxValue_) - (Y - float(TrackTop) - 8.0f) / pixelsPerUnit_;
        value_ = std::clamp(roundHalfEven(mapped), 0, maxValue_);
        UpdateValueText();
        PaintFader();
        if (value_ != lastValue_) {
            emit Scroll();
            lastValue_ = value_;
        }
    }
}

void C_ScrollBar::UserControl_MouseDown() {
    if (enabled_ && ownTag_ == QLatin1String("In")) {
        dragging_ = true;
        lastValue_ = value_;
    }
}

void C_ScrollBar::UserControl_MouseUp() { dragging_ = false; }

bool C_ScrollBar::UserControl_KeyDown(int& KeyCode) {
    if (!enabled_ || !keyActive_) {
        KeyCode = 0;
        return false;
    }
    if (KeyCode == KeyDown) {
        if (value_ < 1) return false;
        --value_;
    } else if (KeyCode == KeyUp) {
        if (value_ >= maxValue_) return false;
        ++value_;
    } else {
        return false;
    }
    UpdateValueText();
    emit Scroll();
    PaintFader();
    KeepCursorOnKnob();
    return true;
}

void C_ScrollBar::KeepCursorOnKnob() {
    const QPoint windowTopLeft = mapToGlobal(QPoint(0, 0));
    const QPoint pointer = QCursor::pos();
    QCursor::setPos(pointer.x(), windowTopLeft.y() + knobY_);
}

void C_ScrollBar::UserControl_LostFocus() {
    dragging_ = false;
    if (ownTag_ == QLatin1String("In")) leaveKnob();
}

void C_ScrollBar::mouseMoveEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    UserControl_MouseMove(float(std::floor(p.x())), float(std::floor(p.y())));
}

void C_ScrollBar::mousePressEvent(QMouseEvent*) { UserControl_MouseDown(); }

void C_ScrollBar::mouseReleaseEvent(QMouseEvent*) { UserControl_MouseUp(); }

void C_ScrollBar::keyPressEvent(QKeyEvent* e) {
    int code = e->key() == Qt::Key_Up ? KeyUp : e->key() == Qt::Key_Down ? KeyDown : KeyOther;
    const bool stepped = UserControl_KeyDown(code);
    // A swallowed key or a step ends here; any other key goes on to the host.
    e->setAccepted(code == 0 || stepped);
}

void C_ScrollBar::focusOutEvent(QFocusEvent* e) {
    SkinnedControl::focusOutEvent(e);
    UserControl_LostFocus();
}

} // namespace sonmira::controls
