#include "folderclaim.h"

#include "foundation/readonlyfolder.h"
#include "widgets/errorbox.h"
#include "workspace/mainwindow.h"

#include <QDir>
#include <QFileSystemWatcher>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace vn {

namespace {

QString orUnknown(const QString& s)
{
    return s.isEmpty() ? QStringLiteral("（不明）") : s;
}

QString holderLines(const LockHolder& h)
{
    return QStringLiteral("コンピューター: %1\r\nユーザー: %2\r\n使用開始: %3")
        .arg(orUnknown(h.host), orUnknown(h.user), orUnknown(h.since));
}

} // namespace

QString FolderInUseText(const LockHolder& holder, const QString& folder)
{
    return QStringLiteral("このデータフォルダーは、別のPCまたは別のログインで動いている"
                          "Velnoteが使用中です。\r\n\r\nフォルダー: %1\r\n%2\r\n\r\n"
                          "読み取り専用で開くと、内容を見ることはできますが、"
                          "このVelnoteからはデータフォルダーに何も書き込みません"
                          "（ここで入力した文章も保存されません）。")
        .arg(QDir::toNativeSeparators(folder), holderLines(holder));
}

bool ClaimDataFolder(DataFolderLock& lock, const QString& folder)
{
    if (lock.acquire() != DataFolderLock::Result::Held)
        return true;
    QMessageBox box;
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QStringLiteral("確認"));
    box.setText(FolderInUseText(lock.holder(), folder));
    QPushButton* readOnly =
        box.addButton(QStringLiteral("読み取り専用で開く(&R)"), QMessageBox::AcceptRole);
    QPushButton* quit = box.addButton(QStringLiteral("終了(&X)"), QMessageBox::RejectRole);
    box.setDefaultButton(readOnly);
    box.setEscapeButton(quit);
    box.exec();
    if (box.clickedButton() != readOnly)
        return false;
    SetDataFolderReadOnly(true);
    return true;
}

void KeepDataFolderClaim(DataFolderLock* lock, MainWindow* main)
{
    if (!lock->taken())
        return;
    // Another instance has the folder now: nothing more is written here.
    auto lost = [lock, main] {
        SetDataFolderReadOnly(true);
        ShowErrorBox(QStringLiteral("このデータフォルダーは、別のPCまたは別のログインで動いている"
                                    "Velnoteが使い始めました。\r\n\r\n%1\r\n\r\n"
                                    "文章が上書きされないよう、ここからは読み取り専用になり、"
                                    "データフォルダーに何も書き込みません。")
                         .arg(holderLines(lock->holder())),
                     main);
    };
    // A watch, not a timer: it costs nothing until the file changes.
    auto* watcher = new QFileSystemWatcher(QStringList{lock->path()}, main);
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, main, [lock, watcher, lost] {
        // The watch first, then the lock, each on what is at the path now: a
        // file put there in between changes what is watched and comes back
        // here.
        for (int round = 0; round < 8 && lock->taken(); ++round) {
            watcher->removePath(lock->path());
            watcher->addPath(lock->path());
            const DataFolderLock::Follow follow = lock->followFile();
            if (follow == DataFolderLock::Follow::Lost)
                return lost();
            if (follow == DataFolderLock::Follow::Same)
                return;
        }
    });
    if (!lock->needsHeartbeat())
        return;
    auto* timer = new QTimer(main);
    timer->setTimerType(Qt::VeryCoarseTimer);
    timer->setInterval(int(kHeartbeatSecs * 1000));
    QObject::connect(timer, &QTimer::timeout, main, [lock, timer, lost] {
        if (!lock->taken() || lock->heartbeat())
            return;
        timer->stop();
        lost();
    });
    timer->start();
}

} // namespace vn
