#pragma once
#include <QString>

#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace sonmira::test {

// Makes sure a QApplication exists (offscreen in tests); safe to call often.
void ensureApp();

// Folder for files a person may want to look at after a run (PNG renderings).
QString outputDir();

} // namespace sonmira::test
