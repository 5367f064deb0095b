#include "MainFrm.h"

#include "controls/C_ComboBox.h"
#include "controls/C_ScrollBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

#include <stdexcept>

// The descriptions and pictures live in this static library.
static void loadWindowResources() { Q_INIT_RESOURCE(windows); }

namespace sonmira::app {

namespace {

constexpr controls::ColorRef PanelBackColor = 0x3F3F3D;

// The column names of the microphone panel over its nine faders.
const QString MicHeader = QStringLiteral(
    "       57Hz       134Hz       400Hz        1KHz       2.5KHz       6.3KHz      16KHz    MIC H_Curve   MIC LowCut");

WindowDescription readDescription(link::Skin skin) {
    QString error;
    auto d = readWindowDescription(MainFrm::descriptionPath(skin), &error);
    if (!d) throw std::runtime_error(error.toStdString());
    return std::move(*d);
}

QRect pixels(const QRect& twips) { return twipsToPixels(twips); }
QPoint pixels(const QPoint& twips) {
    return QPoint(controls::twipsToPixels(twips.x()), controls::twipsToPixels(twips.y()));
}

// A borderless frame, which shows no caption, on the panel grey.
void makeDarkPanel(QFrame& frame, const QRect& place) {
    frame.setFrameShape(QFrame::NoFrame);
    QPalette pal = frame.palette();
    pal.setColor(QPalette::Window, controls::toQColor(PanelBackColor));
    frame.setPalette(pal);
    frame.setAutoFillBackground(true);
    frame.setGeometry(place);
}

} // namespace

QString MainFrm::descriptionPath(link::Skin skin) {
    loadWindowResources();
    return skin == link::Skin::Big ? QStringLiteral(":/windows/MainFrm_Big.json")
                                   : QStringLiteral(":/windows/MainFrm_Small.json");
}

MainFrm::MainFrm(Services services, link::Skin skin) : MainFrm(std::move(services), skin, readDescription(skin)) {}

MainFrm::MainFrm(Services services, link::Skin skin, WindowDescription description)
    : svc_(std::move(services)), skin_(skin), description_(std::move(description)) {
    setWindowTitle(description_.window.caption);
    // Fixed single border: a title bar, a minimise button, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    const QSize client = pixels(QRect(QPoint(), description_.window.clientTwips)).size();
    setFixedSize(client);
    // The window's default font, for every caption and text that stores none.
    setFont(QFont(QStringLiteral("Arial"), 8));
    if (!description_.window.picture.isEmpty()) background_ = WindowLoader::picture(description_.window.picture);
    if (!description_.window.icon.isEmpty()) setWindowIcon(WindowLoader::icon(description_.window.icon));
    QString error;
    auto loaded = WindowLoader::load(description_, *this, &error);
    if (!loaded) throw std::runtime_error(error.toStdString());
    loaded_ = std::move(*loaded);
    Label4 = loaded_.require<QLabel>(QStringLiteral("Label4"));
    controls_ = std::make_unique<WindowControls>(*this, loaded_);
    panels_ = std::make_unique<PanelLayout>(loaded_, description_.load.frameFaderTop, svc_.runtime);
    controls_->effectPanel = [this](int code) { panels_->ShowEffectPanel(code); };
    drag_ = std::make_unique<WindowDrag>(*this, loaded_);
    link_ = std::make_unique<link::DeviceLink>(svc_.runtime, svc_.ports, svc_.desktop, svc_.log, *this, skin);
    link_->setProgressView(&controls_->progressStrip());
    transfers_ = std::make_unique<settings::Transfers>(model_, *controls_, *link_, svc_.desktop, skin);
    profiles_ = std::make_unique<settings::Ini_Oper>(svc_.desktop, model_, *controls_, skin);
    switches_ = std::make_unique<SwitchWiring>(SwitchWiring::Parts{*this, loaded_, svc_.runtime, svc_.desktop, *link_,
                                                                   model_, *controls_, *transfers_, *profiles_, skin});
    presets_ = std::make_unique<PresetWiring>(loaded_, model_, *controls_, *link_);
    controls_->refreshParameters = [this] { presets_->RefreshParameterControls(); };
    applyStoredTimers();
    qApp->installEventFilter(this);
}

// The link brings defaults of its own for use without a window; the window's
// description overrides them, so that editing it is enough to change them.
// The connect timer's later period and the reply timer's two waits stay the
// link's business.
void MainFrm::applyStoredTimers() {
    const std::pair<const char*, platform::Timer*> timers[] = {
        {"CommConnect", &link_->commConnect()}, {"Timer4", &link_->timer4()}, {"Timer3", &link_->timer3()},
        {"Timer2", &link_->timer2()},           {"TimeOuter", &link_->timeOuter()}};
    for (const auto& [name, timer] : timers) {
        const ControlRecord& stored = loaded_.timer(QLatin1String(name));
        timer->setInterval(stored.interval);
        timer->setEnabled(stored.enabled);
    }
}

MainFrm::~MainFrm() = default;

void MainFrm::Form_Load() {
    const LoadLayout& layout = description_.load;
    for (const Placement& p : layout.headerTexts) loaded_.require(p.name)->move(pixels(p.twips));
    for (const Placement& p : layout.headerTexts) loaded_.require(p.name)->hide();
    for (const Placement& p : layout.headerStrips) loaded_.require(p.name)->setVisible(p.visible);
    for (const Placement& p : layout.headerStrips) loaded_.require(p.name)->move(pixels(p.twips));

    copyAddressesFromTags();

    const QString mic = QStringLiteral("C_ScrollBar1");
    for (int k = 0; k < settings::MicColumns; ++k)
        loaded_.require(mic, k)->move(pixels(QPoint(k * 1100 + 380, layout.micFaderTop)));

    // The header strips name the columns, so the parameter faders show no title.
    for (const settings::PresetArray a : settings::AllPresetArrays)
        for (const settings::ColumnSpec& c : settings::columns(a))
            if (!c.isSwitch()) {
                auto* fader = loaded_.require<controls::C_ScrollBar>(QLatin1String(c.control), c.controlIndex);
                fader->setTitleVisible(false);
            }

    loaded_.require<QLineEdit>(QStringLiteral("Text3"))->setText(MicHeader);

    auto* music = loaded_.require<QFrame>(QStringLiteral("Frame1"));
    makeDarkPanel(*music, pixels(layout.music));
    panels_->ShowMusicSubPage(0);

    makeDarkPanel(*loaded_.require<QFrame>(QStringLiteral("Frame2")), QRect(pixels(layout.effect), music->size()));
    panels_->ShowEffectPanel(0);

    fillPresetSelectors();
    model_.ResetToDefaults(*controls_);
    svc_.log.CommLog = link_->texts().logHint;
    // The selectors, faders, switches, key row and volume column get their
    // event handlers here, before the scan starts.
    switches_->connectEvents();
    presets_->connectEvents();
    link_->startConnecting();
}

// Every row of a preset array carries its column's address: the Tag of the
// control that shows the column. A Tag that is not a number from 0 to 255
// leaves the column table's address, so a faulty description cannot send
// values to a wrong place.
void MainFrm::copyAddressesFromTags() {
    model_.setAddressesFromTable();
    for (const settings::PresetArray a : settings::AllPresetArrays) {
        for (int col = 0; col < settings::columnCount(a); ++col) {
            const settings::ColumnSpec& c = settings::column(a, col);
            auto* w = loaded_.require<controls::SkinnedControl>(QLatin1String(c.control), c.controlIndex);
            bool ok = false;
            const uint addr = w->Tag().toUInt(&ok, 10);
            if (ok && addr <= 255) model_.setColumnAddress(a, col, static_cast<std::uint8_t>(addr));
            else qWarning("Tag \"%s\" of %s is no address; keeping %d", qPrintable(w->Tag()),
                          qPrintable(w->objectName()), c.addr);
        }
    }
}

void MainFrm::fillPresetSelectors() {
    auto* musicList = loaded_.require<controls::C_ComboBox>(QStringLiteral("C_ComboBox1"));
    auto* micList = loaded_.require<controls::C_ComboBox>(QStringLiteral("C_ComboBox2"));
    auto* effectList = loaded_.require<controls::C_ComboBox>(QStringLiteral("C_ComboBox3"));
    for (int n = 1; n <= settings::MusicRows; ++n) {
        musicList->AddItem(QStringLiteral("MUSIC%1").arg(n));
        micList->AddItem(QStringLiteral("MIC%1").arg(n));
    }
    for (const char* item : {"KTV1", "KTV2", "EFF1", "EFF2"}) effectList->AddItem(QLatin1String(item));
    // Selects the first item of each; raises no event, so nothing is sent.
    for (auto* list : {musicList, micList, effectList}) list->setTopIndex(0);
}

void MainFrm::showTrafficLog() {
    // Shown without an owner and not modal; its close box unloads it.
    // A window closed during a reply wait is still awaiting its deletion.
    if (!commIndicator_ || commIndicator_->unloaded())
        commIndicator_ = new link::CommIndicator(svc_.runtime, svc_.log);
    commIndicator_->show();
    commIndicator_->raise();
    commIndicator_->activateWindow();
}

bool MainFrm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        const auto* k = static_cast<QKeyEvent*>(e);
        // With Ctrl or Alt held a key types no character.
        const bool typed = !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        // A disabled window (a transfer or a selector write is running) takes
        // no keys, so the hot key waits for it too.
        // Without key preview only a key sent to the window itself is its own.
        const bool mine = w == this || (description_.window.keyPreview && w && isAncestorOf(w));
        if (typed && isEnabled() && mine) Form_KeyPress(k->text());
    }
    return false; // the focused control still gets the key
}

void MainFrm::Form_KeyPress(const QString& text) {
    if (text == QStringLiteral("w")) showTrafficLog();
}

QString MainFrm::statusText() const { return Label4->text(); }

void MainFrm::setStatusText(const QString& text) { Label4->setText(text); }

void MainFrm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), controls::toQColor(description_.window.backColor));
    p.drawPixmap(0, 0, background_);
}

void MainFrm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (placed_) return;
    placed_ = true;
    // Placed before it is mapped, with the frame the window manager will
    // give it, so it appears centred and never jumps. A window manager that
    // does not tell its frame gets the client area centred.
    centre(svc_.desktop.frameMargins(*this).value_or(QMargins()));
}

// Places the window so that its frame, margins around the client area, is
// centred on the screen's available area. Sizes, not centre points, so that
// nothing is lost to rounding.
void MainFrm::centre(const QMargins& frame) {
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect avail = s->availableGeometry();
    const QSize outer = size().grownBy(frame);
    const QPoint corner(avail.x() + (avail.width() - outer.width()) / 2,
                        avail.y() + (avail.height() - outer.height()) / 2);
    setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size()));
}

void MainFrm::closeEvent(QCloseEvent* e) {
    const QString question = skin_ == link::Skin::Big ? QStringLiteral("You sure you want to exit the application ?")
                                                      : QStringLiteral(u"确定要退出应用程序吗？");
    if (svc_.desktop.messageBox(platform::MsgStyle::YesNo, question, this) != platform::MsgResult::Yes) {
        e->ignore();
        return;
    }
    e->accept();
    Form_Unload();
}

void MainFrm::Form_Unload() {
    link_->ClosePort();
    if (svc_.endProgram) svc_.endProgram();
}

} // namespace sonmira::app
