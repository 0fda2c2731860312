#include "startwarmup.h"

#include "idlethread.h"

#include "calendar/diarystore.h"
#include "foundation/inifile.h"
#include "foundation/textcodec.h"
#include "platform/fontwarmup.h"

#include <QFileInfo>

#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace vn {

struct StartWarmUp::ReadAhead {
    std::vector<std::shared_ptr<IniReadAhead>> iniFiles;
    QString diaryFolder;
    std::optional<std::set<int>> diaryDays;
};

StartWarmUp::StartWarmUp()
    : fonts_(std::make_unique<IdleThread>([] {
          WarmFontConfiguration();
          SjisCanHold(QChar(0x3042)); // builds the conversion tables
      }))
{
}

StartWarmUp::~StartWarmUp() = default; // the threads' ends are waited for

void StartWarmUp::start(Batch& batch, const QStringList& iniFiles, const QString& diaryFolder)
{
    batch.read = std::make_shared<ReadAhead>();
    batch.thread = std::make_unique<IdleThread>([read = batch.read, iniFiles, diaryFolder] {
        for (const QString& path : iniFiles)
            read->iniFiles.push_back(ReadIniAhead(path));
        read->diaryFolder = diaryFolder;
        if (!diaryFolder.isEmpty() && QFileInfo(diaryFolder).isDir())
            read->diaryDays = cal::DiaryStore::DiaryDaysIn(diaryFolder);
    });
}

void StartWarmUp::adopt(Batch& batch)
{
    if (!batch.thread)
        return;
    batch.thread->finish();
    const std::shared_ptr<ReadAhead> read = std::exchange(batch.read, nullptr);
    batch.thread.reset();
    for (const std::shared_ptr<IniReadAhead>& file : read->iniFiles)
        AdoptIniReadAhead(file);
    if (read->diaryDays)
        cal::DiaryStore::AdoptDiaryScan(read->diaryFolder, std::move(*read->diaryDays));
}

void StartWarmUp::readAhead(const QStringList& iniFiles, const QString& diaryFolder)
{
    start(files_, iniFiles, diaryFolder);
}

void StartWarmUp::readAheadForLater(const QStringList& iniFiles)
{
    start(later_, iniFiles, QString());
}

void StartWarmUp::waitForFonts()
{
    fonts_->finish();
}

void StartWarmUp::adoptFilesReadAhead()
{
    adopt(files_);
}

void StartWarmUp::adoptLaterFiles()
{
    adopt(later_);
}

} // namespace vn
