// Time of one profile save and one import, beside the time the same save
// takes as 212 separate key writes that each read and replace the file.
//   profile_bench [rounds]
#include "RecordingControls.h"
#include "platform/Desktop.h"
#include "platform/PrivateProfile.h"
#include "settings/Ini_Oper.h"

#include <QCoreApplication>
#include <QTemporaryDir>

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

    std::printf("profile save, one replacement:      %8.3f ms\n", save);
    std::printf("profile import, one read:           %8.3f ms\n", load);
    std::printf("profile save, 212 key replacements: %8.3f ms (%.0fx)\n", perKey, perKey / save);
    return 0;
}
