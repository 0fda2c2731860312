#pragma once
// The one error type of the program. Operations throw it; the top-level
// handler shows its text in the "Velnote" error box and the program goes on.
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

// "ファイル "%s". %s は開けません"
[[noreturn]] void ThrowOpenError(const QString& path, const QString& cause);
// "ファイル "%s". %s を作成できません"
[[noreturn]] void ThrowCreateError(const QString& path, const QString& cause);

// The text shown in the error box: a full stop is appended when missing.
QString ErrorBoxText(const QString& message);

} // namespace vn
