// Thirty memo pages of 1 MB: loading, saving everything, and the periodic
// save when nothing changed. Prints milliseconds (medians of several runs).
#include "benchtools.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "workspace/memopagesview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace vn;

namespace {

template <typename F> double medianMs(int runs, F f)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        t.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SetAppLocation(dir.path(), QStringLiteral("Vnote"));
    SetSettingsFile(SettingsFilePath());
    WriteSettingInt(REG_ShowVnoteCount, 30);
    qint64 bytes = 0;
    for (int i = 0; i < kPageCount; ++i) {
        WriteEditText(PageFilePath(i),
                      vn::bench::SampleMemoText(1'000'000, unsigned(i))); // about 1 MB
        bytes += QFileInfo(PageFilePath(i)).size();
    }
    std::printf("30 pages, %.1f MB on disk\n", bytes / 1048576.0);

    MemoPagesView view;
    view.applyPageCount(30, false);
    const double load = medianMs(3, [&] { view.loadPages(); });
    std::printf("load 30 pages (files read, shown page later)   %8.1f ms\n", load);
    const double show = medianMs(1, [&] {
        for (int i = 0; i < kPageCount; ++i)
            view.editor(i);
    });
    std::printf("put all 30 pages into their editors            %8.1f ms\n", show);

    int round = 0;
    const double saveAll = medianMs(3, [&] {
        ++round;
        for (int i = 0; i < kPageCount; ++i)
            view.editor(i)->appendPlainText(QStringLiteral("追記 %1").arg(round));
        view.savePages(kPageCount);
    });
    std::printf("save 30 changed pages                          %8.1f ms\n", saveAll);

    view.saveShownPages(); // the first save after a change compares once
    const double idle = medianMs(9, [&] {
        view.saveShownPages();
        view.savePagePositions();
    });
    std::printf("periodic save, nothing changed                 %8.1f ms   (target 30 ms)\n", idle);

    view.editor(5)->appendPlainText(QStringLiteral("一行"));
    const double one = medianMs(1, [&] { view.saveShownPages(); });
    std::printf("periodic save, one page changed                %8.1f ms\n", one);
    return 0;
}
