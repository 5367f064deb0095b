// Time of one profile save and one import, beside the time the same save
// takes as 212 separate key writes that each read and replace the file; then
// the import of a profile whose section goes on with other keys up to the
// largest file read, with the peak memory of the process.
//   profile_bench [rounds]
#include "RecordingControls.h"
#include "platform/Desktop.h"
#include "platform/PrivateProfile.h"
#include "settings/Ini_Oper.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

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
    const QString largePath = dir.filePath("large.ZSP");
    {
        QByteArray large = platform::ProfileImage::load(path).bytes();
        for (int i = 0; large.size() < platform::ProfileImage::MaxFileSize - 16; ++i)
            large += 'k' + QByteArray::number(i % 100000) + "=1\r\n";
        QFile out(largePath);
        if (!out.open(QIODevice::WriteOnly) || out.write(large) != large.size()) std::abort();
    }
    const double largeLoad = millisecondsPerRound(1, [&] {
        if (ini.loadFrom(largePath) != settings::ProfileOutcome::Loaded) std::abort();
    });
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    std::printf("profile save, one replacement:      %8.3f ms\n", save);
    std::printf("profile import, one read:           %8.3f ms\n", load);
    std::printf("profile save, 212 key replacements: %8.3f ms (%.0fx)\n", perKey, perKey / save);
    std::printf("profile import, %lld MiB file:       %8.3f ms, peak memory %ld MiB\n",
                static_cast<long long>(platform::ProfileImage::MaxFileSize >> 20), largeLoad, usage.ru_maxrss / 1024);
    return 0;
}
