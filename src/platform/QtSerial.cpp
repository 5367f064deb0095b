#include "QtSerial.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace sonmira::platform {

QString portAliasDir() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/sonmira/ports");
}

QString systemPortFor(const QString& comName) {
    static const QRegularExpression re(QStringLiteral("^COM([1-9][0-9]*)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(comName);
    if (!m.hasMatch()) return {};
#ifdef Q_OS_WIN
    return comName.toUpper();
#else
    const int n = m.captured(1).toInt();
    const QString alias = portAliasDir() + QStringLiteral("/COM%1").arg(n);
    // A symlink counts even when dangling: it then names a port that is absent.
    if (QFileInfo(alias).isSymLink() || QFileInfo::exists(alias)) return alias;
    if (n >= 1 && n <= 4) return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    if (n >= 5 && n <= 8) return QStringLiteral("/dev/ttyUSB%1").arg(n - 5);
    if (n >= 9 && n <= 12) return QStringLiteral("/dev/ttyACM%1").arg(n - 9);
    return {};
#endif
}

namespace {

#ifndef Q_OS_WIN
// The flow control the driver has for the device now. QSerialPort::open applies
// the flow control it is given, so this is read first and handed over. The
// descriptor stays open until the port is open, so that no last close in
// between drops the modem lines.
class DriverFlowControl {
public:
    explicit DriverFlowControl(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}
    ~DriverFlowControl() {
        if (fd_ >= 0) ::close(fd_);
    }
    DriverFlowControl(const DriverFlowControl&) = delete;
    DriverFlowControl& operator=(const DriverFlowControl&) = delete;

    QSerialPort::FlowControl value() const {
        termios t{};
        if (fd_ < 0 || tcgetattr(fd_, &t) != 0) return QSerialPort::NoFlowControl;
        if (t.c_cflag & CRTSCTS) return QSerialPort::HardwareControl;
        // IXON alone is every fresh terminal's default, not a choice anyone made:
        // taken as flow control it would swallow 0x11 and 0x13 from the replies.
        if ((t.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF)) return QSerialPort::SoftwareControl;
        return QSerialPort::NoFlowControl;
    }

private:
    int fd_;
};
#endif

class QtSerialDevice final : public SerialDevice {
public:
    explicit QtSerialDevice(const QString& path) {
        port_.setPortName(path);
        QObject::connect(&port_, &QSerialPort::readyRead, [this] { drain(); });
        QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
            // A hung-up or vanished device stays readable for ever and each read
            // fails at once: reading on would spin the event loop until the link
            // gives the port up. Leave it quiet; the loss shows as a missing
            // reply. Closed from the event queue, outside Qt's own read handler.
            if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError)
                QMetaObject::invokeMethod(&port_, [this] { if (port_.isOpen()) port_.close(); }, Qt::QueuedConnection);
        });
    }
    bool openPort() {
#ifndef Q_OS_WIN
        const DriverFlowControl driver(port_.portName());
        port_.setFlowControl(driver.value());
#endif
        return port_.open(QIODevice::ReadWrite);
    }

    bool configure(int baud, int dataBits) override {
        if (!port_.setBaudRate(baud)) return false;
        if (!port_.setDataBits(static_cast<QSerialPort::DataBits>(dataBits))) return false;
        if (!port_.setParity(QSerialPort::NoParity)) return false;
        if (!port_.setStopBits(QSerialPort::OneStop)) return false;
        port_.clear(QSerialPort::AllDirections);
        rx_.clear();
        return true;
    }
    int bytesWaiting() override {
        // Pull whatever the driver holds without waiting.
        if (port_.isOpen()) port_.waitForReadyRead(0);
        drain();
        return static_cast<int>(rx_.size());
    }
    int read(std::uint8_t* buf, int max) override { return rx_.take(buf, max); }
    void write(const std::uint8_t* buf, int n) override {
        if (n <= 0 || !port_.isOpen()) return;
        port_.write(reinterpret_cast<const char*>(buf), n);
        port_.flush(); // pushes out what the driver takes now; never waits
    }

private:
    // Moves what Qt has read into the bounded queue. Qt's own buffer has no
    // limit, so it is emptied each time; what the queue cannot hold is lost.
    void drain() {
        char chunk[ReceiveQueueBytes];
        while (port_.bytesAvailable() > 0) {
            const auto n = port_.read(chunk, sizeof chunk);
            if (n <= 0) break;
            rx_.push(reinterpret_cast<const std::uint8_t*>(chunk), static_cast<std::size_t>(n));
        }
    }

    QSerialPort port_;
    ReceiveQueue rx_;
};

} // namespace

std::unique_ptr<SerialDevice> QtSerialPorts::open(const QString& comName) {
    const QString path = systemPortFor(comName);
    // An absent device (or a dangling alias) needs no lock file and no open.
    if (path.isEmpty() || !QFileInfo::exists(path)) return nullptr;
    auto dev = std::make_unique<QtSerialDevice>(path);
    if (!dev->openPort()) return nullptr;
    return dev;
}

} // namespace sonmira::platform
