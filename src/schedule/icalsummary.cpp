#include "icalsummary.h"

namespace vn {

QString IcalExportSummary::text() const
{
    QString s = QStringLiteral("%1件の予定を書き出しました。").arg(events);
    if (unreadableLines > 0)
        s += QStringLiteral("\n読み取れない行 %1行は書き出していません。").arg(unreadableLines);
    return s;
}

QString IcalImportSummary::text() const
{
    QStringList s;
    auto item = [&](int n, const QString& what) {
        if (n > 0)
            s << QStringLiteral("・%1: %2件").arg(what).arg(n);
    };
    if (added() == 0)
        s << QStringLiteral("追加する予定はありませんでした。");
    else
        s << QStringLiteral("%1件の予定を追加しました。").arg(added());
    item(repeating, QStringLiteral("繰り返しの予定として"));
    item(single, QStringLiteral("単独の予定として"));
    item(restored, QStringLiteral("Velnoteで書き出した予定を元どおりに"));
    if (expandedLines > 0)
        s << QStringLiteral("・繰り返しを単独の予定に展開して: %1件の予定から%2件")
                 .arg(expandedEvents)
                 .arg(expandedLines);
    if (skipped() > 0) {
        s << QStringLiteral("%1件は読み込みませんでした。").arg(skipped());
        item(duplicates, QStringLiteral("同じ予定がすでにある"));
        item(cancelled, QStringLiteral("取り消された予定"));
        item(noStart, QStringLiteral("開始日時がない予定"));
        item(noOccurrence, QStringLiteral("日付がすべて除かれた予定"));
        item(otherComponents, QStringLiteral("予定ではない項目 (ToDoなど)"));
    }
    if (cutEvents > 0)
        s << QStringLiteral(
                 "%1件の予定は、展開の上限 (1件につき%2件) を超えた%3件を読み込んでいません。")
                 .arg(cutEvents)
                 .arg(kIcalExpandLimit)
                 .arg(cutOccurrences);
    if (cutTexts > 0)
        s << QStringLiteral("%1件の予定は、件名が長すぎるため先頭の%2バイトまでを読み込みました。")
                 .arg(cutTexts)
                 .arg(kScheduleTextBytes);
    if (cutLines > 0)
        s << QStringLiteral("長すぎる行 %1行は、先頭の%2KBまでを読み込みました。")
                 .arg(cutLines)
                 .arg(ical::kMaxContentLineBytes / 1024);
    if (formatErrors > 0)
        s << QStringLiteral("iCalendarの書式の誤り %1か所を読み飛ばしました。").arg(formatErrors);
    return s.join(u'\n');
}

} // namespace vn
