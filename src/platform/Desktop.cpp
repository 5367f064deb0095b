#include "Desktop.h"
#include "WindowFrame.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace sonmira::platform {

MsgResult QtDesktop::messageBox(MsgStyle style, const QString& text, QWidget* owner) {
    const QString title = QGuiApplication::applicationDisplayName();
    switch (style) {
    case MsgStyle::Exclamation:
        QMessageBox::warning(owner, title, text, QMessageBox::Ok);
        return MsgResult::Ok;
    case MsgStyle::Critical:
        QMessageBox::critical(owner, title, text, QMessageBox::Ok);
        return MsgResult::Ok;
    case MsgStyle::YesNo: {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, owner);
        return box.exec() == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
    }
    }
    return MsgResult::Ok;
}

void QtDesktop::beep() { QApplication::beep(); }

ScreenMetrics QtDesktop::screen() const {
    ScreenMetrics m;
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return m;
    // 1440 twips to the inch: 15 twips per pixel at 96 DPI. The DPI is the
    // display's own, before the toolkit's high-DPI scaling, which would
    // otherwise report a 120 DPI display as 96 DPI at a pixel ratio of 1.25.
    const double ratio = s->devicePixelRatio();
    const double dpiX = s->logicalDotsPerInchX() * ratio, dpiY = s->logicalDotsPerInchY() * ratio;
    m.twipsPerPixelX = dpiX > 0 ? static_cast<float>(1440.0 / dpiX) : 15.0f;
    m.twipsPerPixelY = dpiY > 0 ? static_cast<float>(1440.0 / dpiY) : 15.0f;
    // The size stays in the toolkit's pixels, the ones the windows are laid out in.
    m.widthTwips = static_cast<float>(s->geometry().width()) * m.twipsPerPixelX;
    m.heightTwips = static_cast<float>(s->geometry().height()) * m.twipsPerPixelY;
    return m;
}

namespace {

QString runFileDialog(const FileDialogRequest& req, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(req.owner, req.title, req.initialDir, req.filter);
    dialog.setAcceptMode(mode);
    // Any name, not only an existing file: the caller checks that itself.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !req.confirmOverwrite);
    // Profiles come from systems whose file names ignore letter case, and a name
    // typed here may end in ".zsp": "*.ZSP" lists those too. Qt's own dialog
    // matches as told; a desktop's native one (GTK) would list upper case only.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

QString QtDesktop::openFileName(const FileDialogRequest& req) {
    return runFileDialog(req, QFileDialog::AcceptOpen);
}

QString QtDesktop::saveFileName(const FileDialogRequest& req) {
    return runFileDialog(req, QFileDialog::AcceptSave);
}

std::optional<QMargins> QtDesktop::frameMargins(QWidget& window) { return askFrameMargins(window); }

MsgResult RecordingDesktop::messageBox(MsgStyle style, const QString& text, QWidget*) {
    messages.push_back({style, text});
    if (onMessage) onMessage(messages.back());
    if (style != MsgStyle::YesNo) return MsgResult::Ok;
    if (answers.empty()) return MsgResult::No;
    const MsgResult r = answers.front();
    answers.pop_front();
    return r;
}

QString RecordingDesktop::openFileName(const FileDialogRequest& req) {
    dialogs.push_back(req);
    if (fileAnswers.empty()) return {};
    QString r = fileAnswers.front();
    fileAnswers.pop_front();
    return r;
}

QString RecordingDesktop::saveFileName(const FileDialogRequest& req) { return openFileName(req); }

std::optional<QMargins> RecordingDesktop::frameMargins(QWidget& window) {
    return frame ? frame : askFrameMargins(window);
}

} // namespace sonmira::platform
