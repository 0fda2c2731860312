#include "outsidewatch.h"

#include "widgets/uiprompts.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace vn {

OutsideWatch::OutsideWatch(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this))
{
    // A sync tool writes a temporary file, renames it and touches the
    // folder: one look once it has settled.
    settle_->setSingleShot(true);
    settle_->setInterval(300);
    connect(settle_, &QTimer::timeout, this, [this] {
        rewatch();
        emit changed();
    });
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
}

void OutsideWatch::watch(const QStringList& files)
{
    files_ = files;
    rewatch();
}

void OutsideWatch::rewatch()
{
    const QStringList watched = watcher_->files();
    const QStringList folders = watcher_->directories();
    QStringList add;
    for (const QString& f : std::as_const(files_)) {
        if (!watched.contains(f) && QFileInfo(f).isFile())
            add << f;
        const QString folder = QFileInfo(f).absolutePath();
        if (!folders.contains(folder) && !add.contains(folder) && QFileInfo(folder).isDir())
            add << folder;
    }
    if (!add.isEmpty())
        watcher_->addPaths(add);
}

OutsideChangeNotices::OutsideChangeNotices(std::function<bool(const QString&)> openAsReference,
                                           QObject* parent)
    : QObject(parent), openAsReference_(std::move(openAsReference))
{
    SetOutsideChangeSink([this](const OutsideChange& c) { report(c); });
}

OutsideChangeNotices::~OutsideChangeNotices()
{
    SetOutsideChangeSink({});
}

void OutsideChangeNotices::report(const OutsideChange& change)
{
    if (change.kind == OutsideChange::Kind::TakenIn) {
        emit takenIn(change.path);
        return;
    }
    // Each conflict copy is told once; a list tells of a merge once per
    // reading of it (the list file sees to that). What comes while a box
    // is up waits for it and is told in the next one, each file once.
    if (change.kind == OutsideChange::Kind::Copied) {
        if (told_.contains(change.copyPath))
            return;
        told_.insert(change.copyPath);
    }
    for (const OutsideChange& p : std::as_const(pending_))
        if (p.kind == change.kind && p.path == change.path && p.copyPath == change.copyPath)
            return;
    pending_.append(change);
    if (!queued_ && !showing_) {
        queued_ = true;
        QTimer::singleShot(0, this, [this] { show(); });
    }
}

void OutsideChangeNotices::show()
{
    queued_ = false;
    if (showing_ || pending_.isEmpty())
        return;
    const QList<OutsideChange> changes = std::exchange(pending_, {});
    QString copy; // the first page's copy, offered as a reference page
    for (const OutsideChange& c : changes)
        if (c.kind == OutsideChange::Kind::Copied && copy.isEmpty() &&
            QFileInfo(c.copyPath).suffix() == QLatin1String("txt"))
            copy = c.copyPath;
    QString text = OutsideChangeMessage(changes);
    if (!copy.isEmpty() && openAsReference_)
        text += QStringLiteral("\r\n\r\n外で書き換えられた内容「%1」を参照ページで開きますか？")
                    .arg(QFileInfo(copy).fileName());
    showing_ = true;
    Notify(BoxKind::Warning, text, copy.isEmpty() ? BoxButtons::Ok : BoxButtons::YesNo,
           [this, copy](BoxAnswer answer) {
               showing_ = false;
               if (answer == BoxAnswer::Yes && !copy.isEmpty() && openAsReference_ &&
                   !openAsReference_(copy))
                   Notify(BoxKind::Information,
                          QStringLiteral("参照ページに空きがないため開けませんでした。"
                                         "参照ページを一つ閉じてから、ボタンで次のファイルを"
                                         "開いてください。\r\n%1")
                              .arg(QDir::toNativeSeparators(copy)),
                          BoxButtons::Ok, {});
               if (!pending_.isEmpty())
                   show(); // what came while the box was up
           });
}

} // namespace vn
