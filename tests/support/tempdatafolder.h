#pragma once
// A temporary data folder: the program's paths and settings file point into
// it while the object lives.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace vn::test {

class TempDataFolder {
public:
    TempDataFolder();
    ~TempDataFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + u'/' + name; }
    void writeBytes(const QString& name, const QByteArray& bytes) const;
    QByteArray readBytes(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// Shift-JIS bytes of a text (for hand-written test files).
QByteArray Sjis(const QString& text);

} // namespace vn::test
