#include "startwarmup.h"

#include "calendar/diarystore.h"
#include "foundation/inifile.h"
#include "foundation/textcodec.h"
#include "platform/fontwarmup.h"

#include <QFileInfo>

#include <optional>
#include <set>
#include <vector>

namespace vn {

struct StartWarmUp::ReadAhead {
    std::vector<std::shared_ptr<IniReadAhead>> iniFiles;
    QString diaryFolder;
    std::optional<std::set<int>> diaryDays;
};

StartWarmUp::StartWarmUp()
    : fonts_(std::async(std::launch::async, [] {
          WarmFontConfiguration();
          SjisCanHold(QChar(0x3042)); // builds the conversion tables
      }))
{
}

StartWarmUp::~StartWarmUp()
{
    if (fonts_.valid())
        fonts_.wait();
    if (files_.valid())
        files_.wait();
}

void StartWarmUp::readAhead(const QStringList& iniFiles, const QString& diaryFolder)
{
    files_ = std::async(std::launch::async, [iniFiles, diaryFolder] {
        auto read = std::make_shared<ReadAhead>();
        for (const QString& path : iniFiles)
            read->iniFiles.push_back(ReadIniAhead(path));
        read->diaryFolder = diaryFolder;
        if (QFileInfo(diaryFolder).isDir())
            read->diaryDays = cal::DiaryStore::DiaryDaysIn(diaryFolder);
        return read;
    });
}

void StartWarmUp::waitForFonts()
{
    if (fonts_.valid())
        fonts_.get();
}

void StartWarmUp::adoptFilesReadAhead()
{
    if (!files_.valid())
        return;
    const std::shared_ptr<ReadAhead> read = files_.get();
    for (const std::shared_ptr<IniReadAhead>& file : read->iniFiles)
        AdoptIniReadAhead(file);
    if (read->diaryDays)
        cal::DiaryStore::AdoptDiaryScan(read->diaryFolder, std::move(*read->diaryDays));
}

} // namespace vn
