#include "WindowLoader.h"

#include "FittedLabel.h"

#include "controls/C_Button.h"
#include "controls/C_ComboBox.h"
#include "controls/C_FlagBar.h"
#include "controls/C_Option.h"
#include "controls/C_OptionEx.h"
#include "controls/C_ProgressBar.h"
#include "controls/C_ScrollBar.h"
#include "controls/Gdi.h"
#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSvgRenderer>

#include <algorithm>
#include <iterator>

namespace sonmira::app {

QRect twipsToPixels(const QRect& t) {
    using controls::twipsToPixels;
    return QRect(twipsToPixels(t.left()), twipsToPixels(t.top()), twipsToPixels(t.width()),
                 twipsToPixels(t.height()));
}

QString LoadedWindow::key(const QString& name, int index) {
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

std::string LoadedWindow::missing(const QString& name, int index) {
    return QStringLiteral("The window description has no %1 of the kind the window needs.")
        .arg(key(name, index))
        .toStdString();
}

QWidget* LoadedWindow::find(const QString& name, int index) const {
    const auto it = entries_.constFind(key(name, index));
    return it == entries_.cend() ? nullptr : it->widget.data();
}

const ControlRecord* LoadedWindow::record(const QString& name, int index) const {
    const auto it = entries_.constFind(key(name, index));
    return it == entries_.cend() ? nullptr : it->record;
}

const ControlRecord& LoadedWindow::timer(const QString& name) const {
    const ControlRecord* r = record(name);
    if (!r || r->kind != QLatin1String("Timer")) throw std::runtime_error(missing(name, -1));
    if (r->interval < 1 || r->interval > 65535)
        throw std::runtime_error(QStringLiteral("The window description gives the timer %1 an interval of %2 ms; "
                                                "it must be 1 to 65535.")
                                     .arg(name)
                                     .arg(r->interval)
                                     .toStdString());
    return *r;
}

QPixmap WindowLoader::picture(const QString& path) {
    QSvgRenderer svg(path);
    if (svg.isValid()) {
        QPixmap pm(svg.defaultSize());
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        svg.render(&p);
        return pm;
    }
    return QPixmap(path);
}

namespace {

// A stored character set of a Far East script: the script a font must cover,
// and the language the font configuration knows it by.
struct Charset {
    int code;
    QFontDatabase::WritingSystem script;
    const char* language;
};
constexpr Charset kCharsets[] = {{128, QFontDatabase::Japanese, "ja"},
                                 {129, QFontDatabase::Korean, "ko"},
                                 {134, QFontDatabase::SimplifiedChinese, "zh-cn"},
                                 {136, QFontDatabase::TraditionalChinese, "zh-tw"}};

} // namespace

QFont WindowLoader::font(const FontRecord& stored) {
    QFont f(stored.name);
    f.setPointSizeF(stored.points);
    f.setBold(stored.bold);
    const auto* charset = std::find_if(std::begin(kCharsets), std::end(kCharsets),
                                       [&](const Charset& c) { return c.code == stored.charset; });
    if (charset == std::end(kCharsets)) return f;
    // A named font that is not installed falls back to whatever the toolkit
    // likes, often a wider one of another script. Take the font the system
    // prefers for the stored script's language instead, as the user's other
    // programs would. A font that covers the script is kept: one installed
    // under that name, or an alias for it.
    const auto covers = [&](const QString& family) {
        return QFontDatabase::writingSystems(family).contains(charset->script);
    };
    if (covers(QFontInfo(f).family())) return f;
    QString family = platform::preferredFamily(QLatin1String(charset->language));
    if (!covers(family)) family = QFontDatabase::families(charset->script).value(0);
    if (!family.isEmpty()) f.setFamily(family);
    return f;
}

QIcon WindowLoader::icon(const QString& path) {
    QIcon icon;
    QSvgRenderer svg(path);
    const QPixmap plain = svg.isValid() ? QPixmap() : QPixmap(path);
    for (const int side : {16, 32, 48, 64, 128}) {
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (svg.isValid()) svg.render(&p);
        else p.drawPixmap(pm.rect(), plain);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

namespace {

void setColour(QWidget* w, QPalette::ColorRole role, const std::optional<std::uint32_t>& bgr) {
    if (!bgr) return;
    QPalette pal = w->palette();
    pal.setColor(role, controls::toQColor(*bgr));
    w->setPalette(pal);
}

void setBack(QWidget* w, const ControlRecord& r) {
    if (!r.backColor) return;
    setColour(w, QPalette::Window, r.backColor);
    w->setAutoFillBackground(true);
}

void setFont(QWidget* w, const ControlRecord& r) {
    if (r.font) w->setFont(WindowLoader::font(*r.font));
}

// The skinned controls: stored settings through the property bag, the host's
// Tag, then the place.
template <typename T>
QWidget* skinned(const ControlRecord& r, QWidget* parent) {
    auto* c = new T(parent);
    c->UserControl_ReadProperties(r.properties);
    c->setTag(r.tag);
    c->setGeometry(twipsToPixels(r.twips));
    return c;
}

// The option dot keeps its size in twips.
QWidget* option(const ControlRecord& r, QWidget* parent) {
    auto* c = new controls::C_Option(parent);
    c->UserControl_ReadProperties(r.properties);
    c->setTag(r.tag);
    c->move(twipsToPixels(r.twips).topLeft());
    c->setSizeTwips(r.twips.width(), r.twips.height());
    return c;
}

QWidget* label(const ControlRecord& r, QWidget* parent) {
    auto* c = new FittedLabel(r.caption, parent);
    c->setAlignment(r.alignment | Qt::AlignTop);
    if (!r.transparent) setBack(c, r);
    setColour(c, QPalette::WindowText, r.foreColor);
    setFont(c, r);
    c->setGeometry(twipsToPixels(r.twips));
    return c;
}

QWidget* textBox(const ControlRecord& r, QWidget* parent) {
    auto* c = new QLineEdit(r.text, parent);
    c->setAlignment(r.alignment | Qt::AlignVCenter);
    // MaxLength limits the user's input, never the text the program writes,
    // so it is not the toolkit's limit (that cuts both): the code that runs
    // the box takes it from the record.
    c->setReadOnly(r.locked);
    c->setFrame(r.borderStyle != 0);
    setColour(c, QPalette::Base, r.backColor);
    setColour(c, QPalette::Text, r.foreColor);
    setFont(c, r);
    c->setGeometry(twipsToPixels(r.twips));
    return c;
}

// A picture box shows its image from the top-left corner, clipped to the box.
QWidget* pictureBox(const ControlRecord& r, QWidget* parent) {
    auto* c = new QLabel(parent);
    c->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c->setFrameShape(r.borderStyle == 0 ? QFrame::NoFrame : QFrame::Box);
    setBack(c, r);
    if (!r.picture.isEmpty()) c->setPixmap(WindowLoader::picture(r.picture));
    c->setGeometry(twipsToPixels(r.twips));
    return c;
}

QWidget* frame(const ControlRecord& r, QWidget* parent) {
    auto* c = new QFrame(parent);
    c->setFrameShape(r.borderStyle == 0 ? QFrame::NoFrame : QFrame::Box);
    c->setWindowTitle(r.caption);
    setBack(c, r);
    c->setGeometry(twipsToPixels(r.twips));
    return c;
}

QWidget* vScrollBar(const ControlRecord& r, QWidget* parent) {
    auto* c = new QScrollBar(Qt::Vertical, parent);
    c->setRange(0, r.max);
    c->setValue(r.value);
    c->setSingleStep(1);
    c->setPageStep(1);
    c->setGeometry(twipsToPixels(r.twips));
    return c;
}

// Timers belong to the code that runs them; the record keeps their design
// values.
QWidget* timer(const ControlRecord&, QWidget*) { return nullptr; }

} // namespace

const std::map<QString, WindowLoader::Factory>& WindowLoader::kinds() {
    static const std::map<QString, Factory> table{
        {QStringLiteral("C_ScrollBar"), skinned<controls::C_ScrollBar>},
        {QStringLiteral("C_Button"), skinned<controls::C_Button>},
        {QStringLiteral("C_ComboBox"), skinned<controls::C_ComboBox>},
        {QStringLiteral("C_FlagBar"), skinned<controls::C_FlagBar>},
        {QStringLiteral("C_Option"), option},
        {QStringLiteral("C_OptionEx"), skinned<controls::C_OptionEx>},
        {QStringLiteral("C_ProgressBar"), skinned<controls::C_ProgressBar>},
        {QStringLiteral("Label"), label},
        {QStringLiteral("TextBox"), textBox},
        {QStringLiteral("PictureBox"), pictureBox},
        {QStringLiteral("Image"), pictureBox},
        {QStringLiteral("Frame"), frame},
        {QStringLiteral("VScrollBar"), vScrollBar},
        {QStringLiteral("Timer"), timer},
    };
    return table;
}

std::optional<LoadedWindow> WindowLoader::load(const WindowDescription& description, QWidget& window,
                                                QString* error) {
    const auto& table = kinds();
    // Check every kind first, so that a faulty description leaves nothing
    // half built on the window.
    for (const ControlRecord& r : description.controls) {
        if (table.find(r.kind) == table.end()) {
            if (error)
                *error = QStringLiteral("%1: unknown control kind \"%2\" in the description of %3")
                             .arg(r.displayName(), r.kind, description.window.name);
            return std::nullopt;
        }
    }
    LoadedWindow loaded;
    for (const ControlRecord& r : description.controls) {
        QWidget* parent = r.container.isEmpty() ? &window : loaded.find(r.container);
        if (!parent) parent = &window; // the parser makes sure a container is a frame before it
        QWidget* w = table.at(r.kind)(r, parent);
        if (w) {
            w->setObjectName(LoadedWindow::key(r.name, r.index));
            if (!r.visible) w->setVisible(false);
        }
        loaded.entries_.insert(LoadedWindow::key(r.name, r.index), {w, &r});
    }
    return loaded;
}

} // namespace sonmira::app
