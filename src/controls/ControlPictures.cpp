#include "controls/ControlPictures.h"

#include "controls/SkinnedControl.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtGlobal>

#include <map>

static void loadControlPictures() { Q_INIT_RESOURCE(pictures); }

namespace sonmira::controls {

const QPixmap& controlPicture(const QString& name) {
    // Made on first use and kept to the end: pixmaps and cursors must not
    // outlive the application object, which is gone before statics are. A
    // map, so that references handed out stay valid as pictures are added.
    static auto& cache = *new std::map<QString, QPixmap>;
    if (auto it = cache.find(name); it != cache.end()) return it->second;
    static const bool loaded = (loadControlPictures(), true);
    Q_UNUSED(loaded);

    QPixmap pixmap;
    QSvgRenderer renderer(QStringLiteral(":/controls/%1.svg").arg(name));
    if (renderer.isValid()) {
        // Drawn 1:1 at the picture's own size so edges stay on whole pixels.
        pixmap = QPixmap(renderer.defaultSize());
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
    } else {
        qWarning("No control picture named %s", qPrintable(name));
    }
    return cache.emplace(name, pixmap).first->second;
}

void showPicture(SkinnedControl& control, const QPixmap& picture) {
    QImage& dc = control.hDC();
    dc.fill(toQColor(control.BackColor()));
    if (picture.isNull()) return;
    QPainter painter(&dc);
    painter.drawPixmap(0, 0, picture);
}

void fitToPicture(QWidget& control, const QString& name) {
    if (name.isEmpty()) return;
    const QPixmap& picture = controlPicture(name);
    if (!picture.isNull()) control.setFixedSize(picture.size());
}

const QCursor& handCursor() {
    static const auto* cursor = new QCursor(controlPicture(QStringLiteral("hand_cursor")), 5, 0);
    return *cursor;
}

} // namespace sonmira::controls
