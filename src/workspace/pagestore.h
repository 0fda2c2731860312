#pragma once
// The thirty memo pages without their editors: one record per page (its
// text, whether its file was read, its change counter, caret position,
// font, background colour and tab name) and the rules of their files.
//
// Three rules live here and nowhere else:
// - a page whose file could not be read is never written: the file keeps
//   whatever it holds until it can be read;
// - a page whose file's text cannot be shown as it is (a NUL byte, bytes
//   that are no character) is held: shown, never written, moved or emptied,
//   until the user accepts that the file is rewritten with the text shown
//   (its old bytes are then kept in a copy beside it);
// - a page is written only when its text changed since it was read or last
//   written: a page the user never touched keeps its file byte for byte,
//   whatever bytes it holds (a missing file is written again). A page is
//   written in the form its file was read in: UTF-16 stays UTF-16;
// - a page file another program changed since it was read or written here
//   is taken in when the page has no unsaved change, and otherwise written
//   with the page's text after the other version is kept in a conflict copy
//   beside it (reported once, as OutsideChange::Copied).
//
// While a page is shown its editor holds the text; the store then asks the
// editor through an EditorLink. Otherwise the store holds it: a page file's
// bytes are read at load (so every read error is known at once) but decoded
// only when the text is first needed; a page nobody looks at costs no
// decoding, and its file, never changed, is never written.
#include "foundation/filestamp.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

namespace vn {

class PageBytesBlock;

constexpr int kPageCount = 30;

// First visible line, selection start and length (Shift-JIS bytes).
struct PagePosition {
    int scroll = 0, start = 0, length = 0;
    friend bool operator==(const PagePosition&, const PagePosition&) = default;
};

struct PageRecord {
    bool inEditor = false;       // the editor holds the text
    bool read = false;           // the file was read, or there was none
    QString readError;           // why it could not be read
    quint64 generation = 0;      // counts changes of the text
    quint64 savedGeneration = 0; // the generation the file holds
    PagePosition position;       // while no editor holds the page
    FontSpec font;
    int backColour = 0x00FFFFFF;
    QString tabName;
};

// The design font of the pages ("ＭＳ ゴシック", 9 points).
FontSpec DefaultPageFont();

class PageStore {
public:
    // How the store reaches the text of a page that an editor holds.
    struct EditorLink {
        std::function<QString(int)> text; // CR LF line breaks
        std::function<bool(int)> isEmpty;
        std::function<void(int, const QString&)> setText;
    };

    PageStore();
    ~PageStore();
    void setEditorLink(EditorLink link) { link_ = std::move(link); }

    const PageRecord& page(int i) const { return pages_[size_t(i)]; }
    static bool valid(int i) { return i >= 0 && i < kPageCount; }

    // Reads every page file; a file that cannot be read leaves its page
    // empty, unread and unwritable, and loading goes on with the next page.
    // Returns the errors of those files.
    QStringList load();
    // Tries an unread page's file again; true when the page is read now.
    bool retryRead(int i);

    QString text(int i) const;
    bool isEmpty(int i) const;
    bool isRead(int i) const { return valid(i) && pages_[size_t(i)].read; }
    // Why the page's file cannot be shown as it is; empty when it can.
    QString heldReason(int i) const;
    bool isHeld(int i) const { return !heldReason(i).isEmpty(); }
    // Read, and not held: the page's file may be written.
    bool writable(int i) const { return isRead(i) && !isHeld(i); }
    TextForm form(int i) const;
    // A held page becomes an ordinary one: its file's bytes are copied to
    // `copyPath` (from heldCopyPath) first. Throws when the copy fails.
    QString heldCopyPath(int i) const;
    void acceptRewrite(int i, const QString& copyPath);
    bool changed(int i) const;

    // Another program changed the page's file since it was read or written
    // here (a file removed outside counts only while the page is empty).
    bool changedOutside(int i) const;
    // A page with no unsaved change whose file changed outside takes the
    // file's text (its position stays, for the view to apply); true when it
    // did. A page with unsaved changes keeps them for the save to resolve.
    bool takeIn(int i);

    // The page's text moves into its editor, which holds it from now on.
    QString moveTextToEditor(int i);
    // The editor holding the page changed its text.
    void editorTextChanged(int i);
    // A command gives the page a new text (CR LF); its caret goes to the top.
    void setText(int i, const QString& text);

    // Writes pages 0 … count−1 as far as their texts changed; nothing at all
    // while every page is empty. A page that cannot be written keeps its
    // text and is tried again next time; its error is returned once while
    // it keeps failing, or every time when `reportAll`.
    QStringList save(int count, bool reportAll);
    bool failing(int i) const { return failing_.contains(i); }
    // The page takes `text` and its file is written at once (throws).
    void replaceAndWrite(int i, const QString& text);
    // Writes an empty file for every read page that has none; stops at the
    // first failure (throws).
    void createMissingFiles();

    // Delete and restore: the file keeps the deleted text until the emptied
    // page is saved.
    bool restoreOffered(int i) const;
    void deletePage(int i); // writes the text to its file, then empties the page
    void restorePage(int i);

    // Positions of pages no editor holds; the view keeps the others.
    void setPosition(int i, const PagePosition& p) { pages_[size_t(i)].position = p; }
    void restorePositions();
    void savePositions() const; // writes only what changed

    void loadAppearance(); // fonts and background colours
    void setFont(int i, const FontSpec& font);
    void setBackColour(int i, int colorRef);
    void loadTabNames();
    bool rename(int i, const QString& name); // false when unchanged

    // Moves a page to another place, with its text, font, colour and name
    // (their settings written; the files catch up at the next save).
    // Refused (AppError) when a page in between could not be read or is
    // held: its file would be overwritten by another page's text.
    void move(int from, int to);

private:
    // The text of a page no editor holds (CR LF): its file's bytes until
    // the text is first asked for.
    struct HeldText {
        QString text;
        QByteArray bytes;
        bool decoded = true;
    };
    // What decoding told about a page's file.
    struct FileForm {
        TextForm form = TextForm::Sjis;
        QString heldReason;
        QByteArray heldBytes; // a held file's bytes, put back if the file goes
    };
    const QString& heldText(int i) const;
    void hold(int i, const QString& text);
    void takeFileText(int i, const QByteArray& bytes) const; // decodes into held_ and forms_
    // Writes the text, first keeping a version another program wrote
    // since the last read or write in a conflict copy.
    void writePage(int i, const QString& text);
    void stampRead(int i, const QByteArray& bytes, bool hashNow = true) const;

    std::array<PageRecord, kPageCount> pages_{};
    std::unique_ptr<PageBytesBlock> block_; // the bytes the held texts were read as
    mutable std::array<HeldText, kPageCount> held_{};
    mutable std::array<FileForm, kPageCount> forms_{};
    // What each page's file held when it was last read or written; a page
    // read but not yet decoded is hashed when it is.
    mutable std::array<FileStamp, kPageCount> stamps_{};
    QSet<int> failing_;
    EditorLink link_;
};

} // namespace vn
