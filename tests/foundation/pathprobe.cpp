// Prints the data folder the program would use, then the mode of that folder
// in octal. Copied by tst_datafolder into folders of several kinds.
#include "foundation/paths.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = vn::AppFolder();
    struct stat st {};
    const int rc = ::stat(QFile::encodeName(folder).constData(), &st);
    std::printf("%s\n%o\n", folder.toLocal8Bit().constData(),
                rc == 0 ? unsigned(st.st_mode & 07777) : 0u);
    std::printf("%s\n", vn::SettingsFilePath().toLocal8Bit().constData());
    return 0;
}
