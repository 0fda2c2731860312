#include "app/application.h"
#include "app/commandline.h"

int main(int argc, char** argv)
{
    // Command-line jobs run without a window.
    if (const std::optional<int> rc = vn::RunCommandLine(argc, argv))
        return *rc;
    return vn::RunVelnote(argc, argv);
}
