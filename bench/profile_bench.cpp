// Time of one profile save and one import, beside the time the same save
// takes as 212 separate key writes that each read and replace the file; then
// the import of files of the largest size read: a profile whose section goes
// on with other keys, and one whose section repeats an empty key name, each
// with the peak memory of the process above what it held before the import.
//   profile_bench [rounds]
#include "RecordingControls.h"
#include "platform/Desktop.h"
#include "platform/PrivateProfile.h"
#include "settings/Ini_Oper.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using namespace sonmira;

double millisecondsPerRound(int rounds, const std::function<void()>& fn) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) fn();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / rounds;
}

// A field of /proc/self/status in MiB, e.g. "VmRSS" or "VmHWM".
long statusMiB(const QString& field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    QTextStream in(&status);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine())
        if (line.startsWith(field + ':')) return line.section(':', 1).trimmed().section(' ', 0, 0).toLong() / 1024;
    return -1;
}

struct LargeImport {
    double milliseconds;
    long peakMiB;      // of the process
    long aboveBaseMiB; // above what the process held before the import
};

// Writes the file, then imports it once, with the peak memory of that import
// alone (the kernel's high-water mark is reset before it).
LargeImport importLarge(settings::Ini_Oper& ini, const QString& path, const QByteArray& bytes) {
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) std::abort();
    }
    // Where the kernel does not allow the reset, the peak is that of the
    // whole run so far.
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
    clear.close();
    const long base = statusMiB("VmRSS");
    const double ms = millisecondsPerRound(1, [&] {
        if (ini.loadFrom(path) != settings::ProfileOutcome::Loaded) std::abort();
    });
    const long peak = statusMiB("VmHWM");
    return {ms, peak, peak - base};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.ZSP");
    const QString perKeyPath = dir.filePath("perkey.ZSP");

    platform::RecordingDesktop desktop;
    settings::SettingsModel model;
    settings::test::RecordingControls controls;
    model.setAddressesFromTable();
    model.ResetToDefaults(controls);
    settings::Ini_Oper ini(desktop, model, controls, link::Skin::Big);

    const double save = millisecondsPerRound(rounds, [&] {
        if (ini.saveTo(path) != settings::ProfileOutcome::Saved) std::abort();
    });
    const double load = millisecondsPerRound(rounds, [&] {
        if (ini.loadFrom(path) != settings::ProfileOutcome::Loaded) std::abort();
    });

    // The same keys and values, one file replacement per key.
    platform::ProfileImage keys;
    ini.writeAllKeys(keys);
    const QList<QByteArray> lines = keys.bytes().split('\n');
    const double perKey = millisecondsPerRound(rounds, [&] {
        for (const QByteArray& line : lines) {
            const qsizetype eq = line.indexOf('=');
            if (eq < 0) continue;
            const QString key = QString::fromLatin1(line.left(eq));
            if (!platform::writeProfileString("Main", key, QString::fromLatin1(line.mid(eq + 1).trimmed()), perKeyPath))
                std::abort();
        }
    });

    // Short key lines in the profile's own section make the most keys to
    // look through per byte.
    const QByteArray saved = platform::ProfileImage::load(path).bytes();
    const LargeImport large = [&] {
        QByteArray bytes = saved;
        for (int i = 0; bytes.size() < platform::ProfileImage::MaxFileSize - 16; ++i)
            bytes += 'k' + QByteArray::number(i % 100000) + "=1\r\n";
        return importLarge(ini, dir.filePath("large.ZSP"), bytes);
    }();
    // The shortest key lines, all of one name: only the first can be read.
    const LargeImport repeated = [&] {
        QByteArray bytes = "[Main]\r\nType=TSR-515GN\r\n";
        const QByteArray line = "=\r\n";
        bytes.reserve(platform::ProfileImage::MaxFileSize);
        while (bytes.size() + line.size() <= platform::ProfileImage::MaxFileSize) bytes += line;
        return importLarge(ini, dir.filePath("repeated.ZSP"), bytes);
    }();

    std::printf("profile save, one replacement:      %8.3f ms\n", save);
    std::printf("profile import, one read:           %8.3f ms\n", load);
    std::printf("profile save, 212 key replacements: %8.3f ms (%.0fx)\n", perKey, perKey / save);
    const auto printLarge = [](const char* what, const LargeImport& r) {
        std::printf("profile import, %lld MiB file, %s %8.3f ms, peak memory %ld MiB (%ld MiB above base)\n",
                    static_cast<long long>(platform::ProfileImage::MaxFileSize >> 20), what, r.milliseconds,
                    r.peakMiB, r.aboveBaseMiB);
    };
    printLarge("other keys:   ", large);
    printLarge("repeated key: ", repeated);
    return 0;
}
