#include "syncstate.h"

#include "foundation/textfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vn::sync {

namespace {

const char* typeName(SyncedItem::Type t)
{
    switch (t) {
    case SyncedItem::Type::Event: return "event";
    case SyncedItem::Type::Journal: return "journal";
    case SyncedItem::Type::Other: break;
    }
    return "other";
}

SyncedItem::Type typeOf(const QString& name)
{
    if (name == QLatin1String("event"))
        return SyncedItem::Type::Event;
    if (name == QLatin1String("journal"))
        return SyncedItem::Type::Journal;
    return SyncedItem::Type::Other;
}

} // namespace

SyncState SyncState::Load(const QString& path)
{
    SyncState state;
    if (FileKindOf(path) == FileKind::Missing)
        return state;
    const QJsonDocument doc = QJsonDocument::fromJson(ReadFileBytes(path));
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toInt() != 1)
        return state; // not ours, or damaged: the next sync starts afresh
    state.calendar = root.value(QLatin1String("calendar")).toString();
    state.diary = root.value(QLatin1String("diary")).toBool();
    state.syncToken = root.value(QLatin1String("syncToken")).toString().toUtf8();
    const QJsonArray items = root.value(QLatin1String("items")).toArray();
    for (const QJsonValue& v : items) {
        const QJsonObject o = v.toObject();
        const QString href = o.value(QLatin1String("href")).toString();
        if (href.isEmpty())
            continue;
        SyncedItem item;
        item.type = typeOf(o.value(QLatin1String("type")).toString());
        item.uid = o.value(QLatin1String("uid")).toString();
        item.etag = o.value(QLatin1String("etag")).toString().toUtf8();
        item.day = o.value(QLatin1String("day")).toString();
        for (const QJsonValue& line : o.value(QLatin1String("lines")).toArray())
            item.lines.append(line.toString());
        state.items[href] = std::move(item);
    }
    return state;
}

QByteArray SyncState::toJson() const
{
    QJsonArray items;
    for (const auto& [href, item] : this->items) {
        QJsonObject o;
        o.insert(QLatin1String("href"), href);
        o.insert(QLatin1String("type"), QLatin1String(typeName(item.type)));
        o.insert(QLatin1String("uid"), item.uid);
        o.insert(QLatin1String("etag"), QString::fromUtf8(item.etag));
        if (!item.day.isEmpty())
            o.insert(QLatin1String("day"), item.day);
        if (item.type != SyncedItem::Type::Other)
            o.insert(QLatin1String("lines"), QJsonArray::fromStringList(item.lines));
        items.append(o);
    }
    QJsonObject root;
    root.insert(QLatin1String("format"), 1);
    root.insert(QLatin1String("calendar"), calendar);
    root.insert(QLatin1String("diary"), diary);
    root.insert(QLatin1String("syncToken"), QString::fromUtf8(syncToken));
    root.insert(QLatin1String("items"), items);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void SyncState::save(const QString& path) const
{
    const QByteArray bytes = toJson();
    if (FileKindOf(path) == FileKind::Regular && ReadFileBytes(path) == bytes)
        return;
    WriteFileAtomic(path, bytes);
}

} // namespace vn::sync
