#include "startwarmup.h"

#include "foundation/inifile.h"
#include "foundation/textcodec.h"
#include "platform/fontwarmup.h"

namespace vn {

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

void StartWarmUp::readAhead(const QStringList& iniFiles)
{
    files_ = std::async(std::launch::async, [iniFiles] {
        std::vector<std::shared_ptr<IniReadAhead>> read;
        for (const QString& path : iniFiles)
            read.push_back(ReadIniAhead(path));
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
    if (files_.valid())
        for (const std::shared_ptr<IniReadAhead>& file : files_.get())
            AdoptIniReadAhead(file);
}

} // namespace vn
