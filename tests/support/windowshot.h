#pragma once
// Window pictures for looking at a window as the user sees it: when the
// environment names a folder in VN_SHOT_DIR, the window is saved there as
// "<name>.png". Tests run the same without it.
#include <QCoreApplication>
#include <QDir>
#include <QWidget>

namespace vn::test {

inline void SaveWindowShot(QWidget* window, const QString& name)
{
    const QString dir = qEnvironmentVariable("VN_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QCoreApplication::sendPostedEvents(); // pending layouts
    QCoreApplication::processEvents();
    QDir().mkpath(dir);
    window->grab().save(dir + u'/' + name + QStringLiteral(".png"));
}

} // namespace vn::test
