#pragma once
// What was read from a file, and whether the file on disk has changed since.
//
// A store takes a stamp of the bytes it read (or wrote) and, before it
// rewrites the file, asks ChangedSince: a difference means another program
// (an editor, a sync tool, a second PC) wrote the file meanwhile. The check
// costs one stat() while the file's size and modification time are as they
// were; only when they differ, or when the stamp was taken so soon after the
// file's last change that a later change could share its modification time,
// is the file read and its hash compared. A file whose bytes are the same
// again (a sync tool rewriting it unchanged, a touch) has not changed.
//
// Stamps are plain values and may be kept across runs: the hash is SHA-1 of
// the bytes.
#include <QByteArray>
#include <QString>

namespace vn {

struct FileStamp {
    bool known = false;  // taken at all; an unknown stamp matches no file
    bool exists = false; // the file was there
    qint64 size = 0;
    qint64 mtimeNs = 0; // modification time, nanoseconds since the epoch
    bool racy = false;  // taken within a moment of that time: compare bytes
    QByteArray hash;    // SHA-1 of the bytes

    // A stamp of the file as it is now, `bytes` being what was read from it
    // (or written to it) just now. A missing file stamps as missing. A
    // stamp taken without its hash gets it later (hashOf the same bytes);
    // until then a file whose size or time differs counts as changed.
    static FileStamp of(const QString& path, const QByteArray& bytes, bool hashNow = true);
    // Reads the file and stamps it (missing: a missing stamp).
    static FileStamp read(const QString& path);
    // The stamp of a file known not to be there.
    static FileStamp missing();

    static QByteArray hashOf(const QByteArray& bytes);
    bool hashed() const { return !hash.isEmpty(); }
    // Whether these bytes are the ones stamped.
    bool holds(const QByteArray& bytes) const;
    // The file's size and time are as stamped, and the stamp is not racy:
    // unchanged, known by one stat() without reading.
    bool looksUnchanged(const QString& path) const;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// True when the file at path is not what the stamp says was read: other
// bytes, or there now and missing then, or the other way round. An unknown
// stamp is never "changed" (nothing was read, so nothing can be lost).
bool ChangedSince(const QString& path, const FileStamp& stamp);

// ChangedSince for a stamp kept and checked again and again: a racy stamp
// whose file has kept still long enough since its last change becomes an
// ordinary one, so that later checks cost one stat() again.
bool ChangedSinceSettling(const QString& path, FileStamp& stamp);

// ChangedSince with the bytes the file holds now when it changed (none when
// it is gone): one read serves both the check and a copy of what is there.
struct OutsideBytes {
    bool changed = false;
    bool exists = false;
    QByteArray bytes;
};
OutsideBytes ReadIfChangedSince(const QString& path, const FileStamp& stamp);

} // namespace vn
