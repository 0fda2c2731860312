#pragma once
// The one error type of the program. Operations throw it; the top-level
// handler shows its text in the "Velnote" error box and the program goes on.
//
// A message says what failed in Japanese; the system's own words for the
// cause (its error text, in English) come last, in brackets.
#include <QString>
#include <exception>

namespace vn {

class AppError : public std::exception {
public:
    explicit AppError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// The cause of a failed system call: a Japanese sentence, then the system's
// text in brackets ("ファイルがありません [No such file or directory]").
QString SystemErrorText(int err);

// "ファイル "%s" を開けません。" + the cause
[[noreturn]] void ThrowOpenError(const QString& path, int err);
// "ファイル "%s" を作成できません。" + the cause
[[noreturn]] void ThrowCreateError(const QString& path, int err);
// The same with the system's words only (Qt's error strings): in brackets.
[[noreturn]] void ThrowOpenError(const QString& path, const QString& systemText);
[[noreturn]] void ThrowCreateError(const QString& path, const QString& systemText);
// Something other than a regular file (a folder, a FIFO, a device) where a
// file is read or written: never opened. The text says it cannot be opened
// (or, for a write, created) and why.
QString NotRegularFileText(const QString& path, bool writing = false);
[[noreturn]] void ThrowNotRegularFile(const QString& path, bool writing = false);

// The text shown in the error box: a full stop is appended when missing.
QString ErrorBoxText(const QString& message);

} // namespace vn
