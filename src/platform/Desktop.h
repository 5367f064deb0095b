#pragma once
// Message boxes, beep, screen metrics and file dialogs. A Qt backend for the
// program and a recording backend for tests, which answers as the test says.
#include <QMargins>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace sonmira::platform {

enum class MsgStyle { Exclamation, Critical, YesNo };
enum class MsgResult { Ok, Yes, No };

struct ScreenMetrics {
    float twipsPerPixelX = 15.0f;
    float twipsPerPixelY = 15.0f;
    float widthTwips = 0.0f;  // screen width in twips
    float heightTwips = 0.0f; // screen height in twips
};

struct FileDialogRequest {
    QWidget* owner = nullptr;
    QString title;
    QString filter;     // e.g. "Sound Profile (*.ZSP)"
    QString initialDir;
    bool confirmOverwrite = false;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Modal; the title is the application's default title.
    virtual MsgResult messageBox(MsgStyle style, const QString& text, QWidget* owner = nullptr) = 0;
    virtual void beep() = 0;
    virtual ScreenMetrics screen() const = 0;
    // The chosen path, or "" when the user cancels.
    virtual QString openFileName(const FileDialogRequest& req) = 0;
    virtual QString saveFileName(const FileDialogRequest& req) = 0;
    // The frame (title bar and border) the top-level window gets around its
    // client area, asked for before it first shows; nothing when the window
    // manager does not tell.
    virtual std::optional<QMargins> frameMargins(QWidget& window) = 0;
};

class QtDesktop final : public Desktop {
public:
    MsgResult messageBox(MsgStyle style, const QString& text, QWidget* owner) override;
    void beep() override;
    ScreenMetrics screen() const override;
    QString openFileName(const FileDialogRequest& req) override;
    QString saveFileName(const FileDialogRequest& req) override;
    std::optional<QMargins> frameMargins(QWidget& window) override;
};

class RecordingDesktop final : public Desktop {
public:
    struct Shown {
        MsgStyle style;
        QString text;
    };
    std::vector<Shown> messages;
    std::deque<MsgResult> answers; // for Yes/No boxes; No when empty
    int beeps = 0;
    ScreenMetrics metrics{15.0f, 15.0f, 1280 * 15.0f, 1024 * 15.0f};
    std::vector<FileDialogRequest> dialogs;
    std::deque<QString> fileAnswers; // "" when empty (cancel)
    // The window manager's frame, when a test plays one; else the toolkit's.
    std::optional<QMargins> frame;
    // Runs while a message box is up, for tests that look at the state then.
    std::function<void(const Shown&)> onMessage;

    MsgResult messageBox(MsgStyle style, const QString& text, QWidget* owner) override;
    void beep() override { ++beeps; }
    ScreenMetrics screen() const override { return metrics; }
    QString openFileName(const FileDialogRequest& req) override;
    QString saveFileName(const FileDialogRequest& req) override;
    std::optional<QMargins> frameMargins(QWidget& window) override;
};

} // namespace sonmira::platform
