#include "referencepage.h"

#include "choosers.h"
#include "ui_referencepage.h"
#include "widgets/colorref.h"

namespace vn {

ReferencePage::ReferencePage(QWidget* parent)
    : SettingsPage(parent), ui(std::make_unique<Ui::ReferencePage>())
{
    ui->setupUi(this);
    connect(ui->cmdRefFont, &QPushButton::clicked, this,
            [this] { act([this] { cmdRefFontClick(); }); });
    connect(ui->cmdRefBackColor, &QPushButton::clicked, this,
            [this] { act([this] { cmdRefBackColorClick(); }); });
    connect(ui->chkWordWrapRef, &QCheckBox::toggled, this, [this](bool on) {
        act([&] {
            host_->setWrapReferences(on);
            StoreSettingInt(REG_WordWrapRef, on ? 1 : 0);
        });
    });
}

ReferencePage::~ReferencePage() = default;

void ReferencePage::firstShown()
{
    // The sample in the reference font loads that font: only when it is seen.
    if (loaded_)
        showSample();
    ui->txtRefSample->setPlainText(
        QStringLiteral("参照ファイルはこのフォントと背景色で表示されます。\n"
                       "Aa Bb Cc 0123456789 あいうえお アイウエオ 漢字"));
}

void ReferencePage::LoadAtShowing()
{
    SetQuietly(ui->chkWordWrapRef, host_->wrapReferences());
    StoreSettingInt(REG_WordWrapRef, ui->chkWordWrapRef->isChecked() ? 1 : 0);
    loaded_ = true;
    if (shownOnce())
        showSample();
    else
        ui->cmdRefBackColor->setIcon(ColourSwatch(host_->referenceBackColour()));
}

void ReferencePage::cmdRefFontClick()
{
    // "デフォルトフォントにて開く": the chooser starts from the dialog's own font.
    FontSpec start = host_->referenceFont();
    if (ui->chkRefFont->isChecked()) {
        start = ToFontSpec(window()->font(), start.color, UiFace());
        ui->chkRefFont->setChecked(false);
    }
    const std::optional<FontSpec> chosen = ChooseFontKeepingFace(start);
    if (!chosen)
        return;
    WriteSettingFont(REG_EnvFontRef, *chosen);
    host_->applyReferenceFont(*chosen);
    showSample();
}

void ReferencePage::cmdRefBackColorClick()
{
    const std::optional<int> colour = ChooseColourRef(host_->referenceBackColour());
    if (!colour)
        return;
    StoreSettingInt(REG_EnvRefBackColor, *colour);
    host_->applyReferenceBackColour(*colour);
    showSample();
}

void ReferencePage::showSample()
{
    const FontSpec f = host_->referenceFont();
    ui->txtRefSample->setFont(ToQFont(f));
    QPalette pal = ui->txtRefSample->palette();
    pal.setColor(QPalette::Text, ToQColor(f.color));
    pal.setColor(QPalette::Base, ToQColor(host_->referenceBackColour()));
    ui->txtRefSample->setPalette(pal);
    ui->cmdRefBackColor->setIcon(ColourSwatch(host_->referenceBackColour()));
}

} // namespace vn
