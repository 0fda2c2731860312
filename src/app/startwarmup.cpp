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
    if (settings_.valid())
        settings_.wait();
}

void StartWarmUp::readSettingsAhead(const QString& path)
{
    settings_ = std::async(std::launch::async, [path] { return ReadIniAhead(path); });
}

void StartWarmUp::waitForFonts()
{
    if (fonts_.valid())
        fonts_.get();
}

void StartWarmUp::adoptSettings()
{
    if (settings_.valid())
        AdoptIniReadAhead(settings_.get());
}

} // namespace vn
