#pragma once
// At the end of the session nobody may be there to make room on the disk or
// lift a write protection: text that could not be saved is kept in a rescue
// file outside the data folder, and the error output says where (or, when
// no place takes it, holds the text itself).
#include <QHash>
#include <QString>

namespace vn {

class PageStore;

class TextRescue {
public:
    // what names the text in the message ("メモ「買い物」"), fileName the
    // file it belongs in ("Vnote3.vnm"). A text already kept is kept once.
    void rescue(const QString& what, const QString& fileName, const QString& text);
    // Every page whose last save failed.
    void rescueFailingPages(const PageStore& store);

private:
    QHash<QString, QString> kept_; // file name → the text last kept for it
};

} // namespace vn
