#include "ui/environment_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "core/app/app_context.h"
#include "core/app/combo_match.h"
#include "core/app/environment_options.h"
#include "core/app/machine_store.h"
#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/comm/port/multi_lan_list.h"
#include "ui/combo_util.h"
#include "ui/number_edit.h"
#include "ui/password_dialogs.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"
#include "ui/window_settings.h"

namespace rvq::ui {

namespace {

constexpr int kCaption = 60400;
constexpr int kLanguageLabel = 60401;
constexpr int kTimeoutLabel = 60402;
constexpr int kCodeTypeLabel = 60403;
constexpr int kCodeLabels[3] = {60404, 60405, 60406};
constexpr int kPasswordLabel = 60407;
constexpr int kOk = 60032;
constexpr int kCancel = 60033;
constexpr int kLastLanguage = 999;

}  // namespace

void ClearWindowPlacement() { QSettings().setValue(kPlacementKey, QString()); }

EnvironmentDialog::EnvironmentDialog(UiServices& services, std::function<void()> beforeRestart,
                                     QWidget* parent)
    : QDialog(parent), services_(services), beforeRestart_(std::move(beforeRestart)) {
    const AppContext& context = services.context;
    const Strings& strings = context.strings;
    const ToolSettings& settings = context.settings;
    setWindowTitle(Text(strings, kCaption));

    language_ = new QComboBox(this);
    FillCombo(language_, StringRun(strings, sid::kFirstLanguage, kLastLanguage));
    language_->setCurrentIndex(LanguageIndex(settings.language));
    timeout_ = new NumberEdit(kTimeoutMin, kTimeoutMax, kTimeoutDefault, 3, this);
    timeout_->setValue(settings.timeoutSeconds);
    codeType_ = new QComboBox(this);
    FillCombo(codeType_, ControlCodeEntries(strings));
    SelectStored(codeType_, ControlCodeEntryFor(settings.controlCodeType, strings));
    connect(codeType_, &QComboBox::currentIndexChanged, this, &EnvironmentDialog::UpdateCodeFields);

    const unsigned char stored[3] = {settings.controlCodes.code1, settings.controlCodes.code2,
                                     settings.controlCodes.code3};
    auto* codesRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        codeLabels_[i] = new QLabel(Text(strings, kCodeLabels[i]), this);
        codes_[i] = new QLineEdit(this);
        codes_[i]->setInputMask(QStringLiteral("\\H\\E\\X(>hh)"));
        codes_[i]->setText(ToQt(FormatCodeField(stored[i])));
        codes_[i]->setFixedWidth(80);
        codeLabels_[i]->setBuddy(codes_[i]);
        codesRow->addWidget(codeLabels_[i]);
        codesRow->addWidget(codes_[i]);
    }
    codesRow->addStretch(1);

    password_ = new QPushButton(Text(strings, kPasswordLabel), this);
    password_->setAutoDefault(false);
    connect(password_, &QPushButton::clicked, this, &EnvironmentDialog::OnPassword);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(Text(strings, kOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(strings, kCancel), QDialogButtonBox::RejectRole);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &EnvironmentDialog::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Without the right to save the settings only Cancel closes the dialog;
    // the login password is the machine's, which not every user may change.
    ok_->setEnabled(settings.settingsWritable);
    password_->setEnabled(settings.machineStoreWritable);

    auto* form = new QFormLayout;
    form->addRow(Text(strings, kLanguageLabel), language_);
    form->addRow(Text(strings, kTimeoutLabel), timeout_);
    form->addRow(Text(strings, kCodeTypeLabel), codeType_);
    form->addRow(codesRow);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(password_);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    UpdateCodeFields();
}

void EnvironmentDialog::UpdateCodeFields() {
    const bool editable = CodeFieldsEditable(ComboText(codeType_), services_.context.strings);
    for (int i = 0; i < 3; ++i) {
        codes_[i]->setEnabled(editable);
        codeLabels_[i]->setEnabled(editable);
    }
}

void EnvironmentDialog::OnOk() {
    AppContext& context = services_.context;
    const Strings& strings = context.strings;
    const ControlCodes typed{ParseCodeField(FromQt(codes_[0]->text())),
                             ParseCodeField(FromQt(codes_[1]->text())),
                             ParseCodeField(FromQt(codes_[2]->text()))};
    const CodeCheck check = CheckControlCodes(typed);
    if (check.messageId != 0) {
        const bool inCodeField =
            codes_[0]->hasFocus() || codes_[1]->hasFocus() || codes_[2]->hasFocus();
        services_.interaction.Error(check.messageId, strings.Get(check.messageId));
        if (!inCodeField) codes_[check.focus == CodeField::Code2 ? 1 : 0]->setFocus();
        return;
    }
    const int language = language_->currentIndex();
    const bool languageChanged = language != LanguageIndex(context.settings.language);
    if (languageChanged &&
        !services_.interaction.Confirm(sid::kMsgRestartForLanguage,
                                       strings.Get(sid::kMsgRestartForLanguage))) {
        return;
    }
    context.settings.timeoutSeconds = timeout_->value();
    StoreControlCodes(context.settings, ComboText(codeType_), typed, strings);
    if (languageChanged) {
        context.settings.language = LanguageCode(language);
        ClearWindowPlacement();
        if (beforeRestart_) beforeRestart_();
        context.restartRequested = true;
    }
    accept();
}

void EnvironmentDialog::OnPassword() {
    AppContext& context = services_.context;
    PasswordChangeDialog dialog(context.strings, services_.interaction, context.settings.password,
                                this);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string password = dialog.newPassword();
    if (const WriteResult saved =
            SavePassword(context.settings.locations.machineStorePath, password);
        !saved) {
        const SaveFailureMessage message =
            SaveFailureMessageFor(saved, sid::kMsgSaveFailed, context.strings);
        services_.interaction.Error(message.id, message.text);
        return;
    }
    context.settings.password = password;
}

}  // namespace rvq::ui
