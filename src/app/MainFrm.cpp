#include "MainFrm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace sonmira::app {

MainFrm::MainFrm(Services services, link::Skin skin) : svc_(std::move(services)), skin_(skin) {
    const bool big = skin == link::Skin::Big;
    setWindowTitle(big ? QStringLiteral("Sonmira") : QStringLiteral(u"声美卡拉OK效果器"));
    // Fixed single border: a title bar, a minimise button, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    const QSize client = big ? QSize(ClientWidthBig, ClientHeightBig) : QSize(ClientWidthSmall, ClientHeightSmall);
    setFixedSize(client);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(10, client.height() - 20, 300, 18);
    Label4->setText(link::LinkTexts::of(skin).notConnected);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect avail = s->availableGeometry();
        move(avail.center() - QPoint(client.width() / 2, client.height() / 2));
    }
    // The receive poll runs from the start; the link creates it enabled.
    controls_ = std::make_unique<WindowControls>(*this);
    link_ = std::make_unique<link::DeviceLink>(svc_.runtime, svc_.ports, svc_.desktop, svc_.log, *this, skin);
    link_->setProgressView(&controls_->progressStrip());
    transfers_ = std::make_unique<settings::Transfers>(model_, *controls_, *link_, svc_.desktop, skin);
    profiles_ = std::make_unique<settings::Ini_Oper>(svc_.desktop, model_, *controls_, skin);
    qApp->installEventFilter(this);
}

MainFrm::~MainFrm() = default;

void MainFrm::Form_Load() {
    // Until the window description places the parameter controls, the cell
    // addresses come straight from the column table.
    model_.setAddressesFromTable();
    model_.ResetToDefaults(*controls_);
    svc_.log.CommLog = link_->texts().logHint;
    link_->startConnecting();
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
        if (typed && w && (w == this || isAncestorOf(w))) Form_KeyPress(k->text());
    }
    return false; // the focused control still gets the key
}

void MainFrm::Form_KeyPress(const QString& text) {
    if (text == QStringLiteral("w")) showTrafficLog();
}

QString MainFrm::statusText() const { return Label4->text(); }

void MainFrm::setStatusText(const QString& text) { Label4->setText(text); }

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
