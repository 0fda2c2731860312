#include "calendarpanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace vn {

CalendarPanel::CalendarPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel6"));
    setMinimumWidth(100);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ToolBar2"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(0);
    struct Def {
        const char* name;
        const char16_t* caption;
        const char16_t* hint;
        bool checkable;
    };
    static const Def defs[] = {
        {"ToolButton32", u"表", u"カレンダー表示切替", false},
        {"ToolButton5", u"|<", u"１月に移動", false},
        {"ToolButton16", u"<", u"先月に移動", false},
        {"ToolButton20", u"○", u"今日に移動", false},
        {"ToolButton21", u">", u"翌月に移動", false},
        {"ToolButton22", u">|", u"翌年の１月に移動", false},
        {"ToolButton24", u"予", u"予定一覧の表示...", false},
        {"ToolButton25", u"休", u"休日一覧の表示...", false},
        {"ToolButton27", u"詳", u"選択日付の詳細情報を表示／非表示", true},
        {"ToolButton23", u"日", u"日記の表示／非表示", true},
    };
    for (const Def& d : defs) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QLatin1String(d.name));
        b->setText(QString::fromUtf16(d.caption));
        b->setToolTip(QString::fromUtf16(d.hint));
        b->setCheckable(d.checkable);
        b->setChecked(d.checkable);
        b->setAutoRaise(true);
        b->setMinimumSize(15, 20);
        b->setMaximumSize(19, 20);
        barLayout->addWidget(b);
        buttons_.insert(QLatin1String(d.name), b);
    }
    barLayout->addStretch(1);
    layout->addWidget(bar);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("Splitter4"));
    splitter_->setChildrenCollapsible(false);
    auto* calendar = new QWidget(splitter_);
    calendar->setObjectName(QStringLiteral("CalendarView1"));
    calendar->setAutoFillBackground(true);
    QPalette pal = calendar->palette();
    pal.setColor(QPalette::Window, Qt::white);
    calendar->setPalette(pal);
    auto* diary = new QFrame(splitter_);
    diary_ = diary;
    diary->setObjectName(QStringLiteral("pnlDiary"));
    diary->setMinimumHeight(100);
    auto* dl = new QVBoxLayout(diary);
    dl->setContentsMargins(0, 0, 0, 0);
    dl->setSpacing(0);
    diaryTitle_ = new QLabel(diary);
    diaryTitle_->setObjectName(QStringLiteral("pnlDiaryTitle"));
    diaryTitle_->setFixedHeight(19);
    memoDiary_ = new QPlainTextEdit(diary);
    memoDiary_->setObjectName(QStringLiteral("memoDiary"));
    memoDiary_->setLineWrapMode(QPlainTextEdit::NoWrap);
    dl->addWidget(diaryTitle_);
    dl->addWidget(memoDiary_);
    splitter_->addWidget(calendar);
    splitter_->addWidget(diary);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    layout->addWidget(splitter_, 1);
}

void CalendarPanel::setDiaryHeight(int height)
{
    const int total = std::max(splitter_->height(), height + 150);
    splitter_->setSizes({total - height, height});
}

int CalendarPanel::diaryHeight() const
{
    return splitter_->sizes().value(1);
}

} // namespace vn
