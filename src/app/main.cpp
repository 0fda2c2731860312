#include "app/application.h"
#include "app/commandline.h"
#include "foundation/startuptrace.h"

#include <csignal>

int main(int argc, char** argv)
{
    vn::MarkStartupPhase("loading the program and its libraries");
    // A write past the file-size limit fails like a full disk does (the
    // writer then keeps the old file) instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    // Command-line jobs run without a window.
    if (const std::optional<int> rc = vn::RunCommandLine(argc, argv))
        return *rc;
    return vn::RunVelnote(argc, argv);
}
