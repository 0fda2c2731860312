#pragma once
// What the program may hand to the web browser: only http and https
// addresses. Memo text, schedule addresses and imported calendars all pass
// through here, so a selected path, a "file:" address, a ".desktop" file or
// another program's scheme is never started.
#include <QString>
#include <QUrl>

namespace vn {

// The web address a text names, or an invalid QUrl when it names anything
// else. "http://…" and "https://…" (any letter case) with a host are web
// addresses; a text without a scheme that starts like a host name
// ("www.example.jp", "example.com/a") is taken as "http://" + text.
QUrl WebAddress(const QString& text);

// The message shown when a text is not a web address.
QString NotAWebAddressMessage();

} // namespace vn
