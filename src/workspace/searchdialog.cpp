#include "searchdialog.h"

#include "foundation/settings.h"
#include "ui_searchdialog.h"
#include "widgets/errorbox.h"
#include "widgets/shelldialog.h"
#include "widgets/uiprompts.h"
#include "workspacesettings.h"

#include <QGuiApplication>
#include <QScreen>

namespace vn {

SearchDialog::SearchDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::SearchDialog>())
{
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmSearch", QStringLiteral("文字列検索"), {351, 180});
    setFixedSize(351, 180);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(ui->cmdSearch, &QPushButton::clicked, this, &SearchDialog::cmdSearchClick);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    const WorkspaceSettings& ws = Workspace();
    state_.SearchText = ws.searchText;
    state_.CaseSensitive = ws.searchCaseSensitive;
    state_.AllPages = ws.searchAllPages;
    state_.SearchPage = 0;
    state_.SearchPos = 1;
}

SearchDialog::~SearchDialog() = default;

void SearchDialog::OpenSearch(PageAccess& pages)
{
    initialText_ = pages.selectionLength() > 0 ? pages.selectedText() : state_.SearchText;
    if (exec() != QDialog::Accepted)
        return;
    state_.SearchPage = pages.currentPage();
    FindNext(pages);
}

bool SearchDialog::FindNext(PageAccess& pages)
{
    if (vn::FindNext(state_, pages))
        return true;
    Ask(BoxKind::Warning, NotFoundMessage(state_.SearchText), BoxButtons::Ok);
    return false;
}

void SearchDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void SearchDialog::FormShow()
{
    if (const QScreen* screen =
            this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        const QRect frame = frameGeometry();
        move(desk.center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    ui->chkMode->setChecked(state_.CaseSensitive);
    ui->chkAll->setChecked(state_.AllPages);
    ui->txtString->setText(initialText_);
    ui->txtString->selectAll();
    ui->txtString->setFocus();
}

void SearchDialog::cmdSearchClick()
{
    const QString text = ui->txtString->text();
    if (text.isEmpty()) {
        Ask(BoxKind::Warning, QStringLiteral("検索文字列が指定されていません"), BoxButtons::Ok);
        ui->txtString->setFocus();
        return;
    }
    // A settings file that cannot be written ends the confirmation with the
    // error box; the dialog stays open.
    const bool stored = Guarded(
        [&] {
            WorkspaceSettings& ws = Workspace();
            state_.SearchText = text;
            ws.searchText = text;
            WriteSettingStr(REG_SearchString, text);
            state_.CaseSensitive = ui->chkMode->isChecked();
            ws.searchCaseSensitive = state_.CaseSensitive;
            WriteSettingInt(REG_SearchMode, state_.CaseSensitive ? 1 : 0);
            state_.AllPages = ui->chkAll->isChecked();
            ws.searchAllPages = state_.AllPages;
            WriteSettingInt(REG_SearchAll, state_.AllPages ? 1 : 0);
        },
        this);
    if (stored)
        accept();
}

} // namespace vn
