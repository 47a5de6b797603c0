#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSettings>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/connection.h"
#include "core/app/string_ids.h"
#include "core/app/window_placement.h"
#include "core/builders/download_store.h"
#include "ui/category_tabs.h"
#include "ui/environment_dialog.h"
#include "ui/header_band.h"
#include "ui/help_window.h"
#include "ui/nav_bar.h"
#include "ui/pages/basic_gaiji_pages.h"
#include "ui/pages/maintenance_pages.h"
#include "ui/pages/parameter_page.h"
#include "ui/pages/placeholder_page.h"
#include "ui/pages/printer_setting_page.h"
#include "ui/pages/rom_pages.h"
#include "ui/pictures.h"
#include "ui/scrolling_frame.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"
#include "ui/window_settings.h"

namespace rvq::ui {

namespace {

constexpr int kPlaceholderNotice = 60001;
constexpr int kFileMenu = 60010;
constexpr int kEditMenu = 60011;
constexpr int kViewMenu = 60012;
constexpr int kHelpMenu = 60013;
constexpr int kAboutCaption = 60030;
constexpr int kAboutText = 60031;
constexpr int kJobWatchMs = 250;

}  // namespace

MainWindow::MainWindow(UiServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    const AppContext& context = services.context;
    const Strings& strings = context.strings;
    setWindowTitle(Text(strings, sid::kDefTitle));
    setWindowIcon(ProgramIcon());
    setMinimumSize(kMinimumWindowSide, kMinimumWindowSide);
    downloads_ =
        std::make_unique<DownloadStore>(strings, context.settings.controlCodes, context.isJapanese);

    header_ = new HeaderBand(Text(strings, sid::kOptionsLabel), this);
    connect(header_, &HeaderBand::optionsClicked, this, &MainWindow::OnOptions);
    nav_ = new NavBar(strings, this);
    connect(nav_, &NavBar::categoryRequested, this,
            [this](int category) { SwitchCategory(static_cast<Category>(category)); });
    stack_ = new QStackedWidget(this);
    BuildPages();
    BuildMenus();

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(nav_);
    body->addWidget(stack_, 1);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header_);
    layout->addLayout(body, 1);
    setCentralWidget(central);

    auto* full = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_P), this);
    connect(full, &QShortcut::activated, this, [this] { OnServiceMode(ServiceMode::Full); });
    auto* restricted =
        new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_N), this);
    connect(restricted, &QShortcut::activated, this,
            [this] { OnServiceMode(ServiceMode::Restricted); });

    // A worker left running after a cancel keeps the connection fixed
    // until it has ended.
    jobWatch_ = new QTimer(this);
    jobWatch_->setInterval(kJobWatchMs);
    connect(jobWatch_, &QTimer::timeout, this,
            [this] { printerPage_->SetJobRunning(services_.context.jobRunning); });
    jobWatch_->start();

    printerPage_->LoadPrinterSettings();
    UpdateMenus();
    ApplyMultiLanMode(IsMultiLan(context.settings.interfaceName.kind()));
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildPages() {
    const Strings& strings = services_.context.strings;
    parameterPages_ = std::make_unique<ParameterPageSet>();
    parameterPages_->restoreOnline = [this] { LeaveSettingMode(); };
    parameterPages_->modelChanged = [this] {
        // As the printer setting page's own model change does, but the
        // parameter pages keep what the import put into them.
        printerPage_->LoadPrinterSettings();
        PageResets resets = ResetsForModelChange();
        resets.parameters = false;
        resets.destinationItems = false;
        ResetPages(resets);
    };
    printerPage_ = new PrinterSettingPage(services_, stack_);
    printerPage_->onHeaderChanged = [this](const std::string& text) { SetHeaderText(text); };
    printerPage_->onResetPages = [this](const PageResets& resets) { ResetPages(resets); };
    printerPage_->onMultiLanMode = [this](bool on) { ApplyMultiLanMode(on); };
    stack_->addWidget(ScrollingFrame(printerPage_));
    for (int c = 1; c < kCategoryCount; ++c) {
        const auto category = static_cast<Category>(c);
        auto* tabs = new CategoryTabs(stack_);
        int pageIndex = 0;
        for (int labelId : CategoryTabLabelIds(category)) {
            PageView* page = nullptr;
            if (category == Category::ParameterSetting)
                page = new ParameterPage(services_, *parameterPages_, pageIndex++, tabs);
            else
                page = MakeRomPage(services_, labelId, tabs);
            if (page == nullptr) page = MakeBasicOrGaijiPage(services_, *downloads_, labelId, tabs);
            if (page == nullptr) page = MakeMaintenancePage(services_, labelId, tabs);
            if (page == nullptr)
                page = new PlaceholderPage(Text(strings, labelId),
                                           Text(strings, kPlaceholderNotice), tabs);
            tabs->AddPage(page, Text(strings, labelId));
        }
        connect(tabs, &CategoryTabs::tabChosen, this,
                [this, c](int index) { tabs_[static_cast<std::size_t>(c)] = index; });
        categories_[static_cast<std::size_t>(c)] = tabs;
        stack_->addWidget(tabs);
    }
}

QAction* MainWindow::AddCommand(QMenu* menu, int command) {
    QAction* a = menu->addAction(Text(services_.context.strings, command));
    connect(a, &QAction::triggered, this, [this, command] { OnMenuCommand(command); });
    actions_[command] = a;
    return a;
}

void MainWindow::BuildMenus() {
    const Strings& strings = services_.context.strings;
    QMenu* file = menuBar()->addMenu(Text(strings, kFileMenu));
    AddCommand(file, command::kImport);
    AddCommand(file, command::kExport);
    file->addSeparator();
    AddCommand(file, command::kExit);
    QMenu* edit = menuBar()->addMenu(Text(strings, kEditMenu));
    AddCommand(edit, command::kEnableAll);
    AddCommand(edit, command::kDisableAll);
    edit->addSeparator();
    AddCommand(edit, command::kEnableAllInTab);
    AddCommand(edit, command::kDisableAllInTab);
    QMenu* view = menuBar()->addMenu(Text(strings, kViewMenu));
    AddCommand(view, command::kRestoreDefault);
    AddCommand(view, command::kRestoreDisplay);
    QMenu* help = menuBar()->addMenu(Text(strings, kHelpMenu));
    // F1 opens the section of the page shown (HelpKey); Contents the start page.
    AddCommand(help, command::kHelpContents);
    help->addSeparator();
    AddCommand(help, command::kAbout);
}

QAction* MainWindow::action(int command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::UpdateMenus() {
    for (auto& [command, a] : actions_) a->setEnabled(MenuCommandEnabled(command, current_));
}

PageView* MainWindow::visiblePage() const {
    if (current_ == Category::PrinterSetting) return printerPage_;
    return categories_[static_cast<std::size_t>(current_)]->currentPage();
}

template <typename Fn>
void MainWindow::ForEachPage(Fn fn) {
    fn(printerPage_);
    for (CategoryTabs* tabs : categories_) {
        if (tabs == nullptr) continue;
        for (PageView* page : tabs->pages()) fn(page);
    }
}

bool MainWindow::SwitchCategory(Category target) {
    AppContext& context = services_.context;
    const int refusal = CategoryRefusal(printerPage_->values().interfaceName, target);
    if (refusal != 0) {
        services_.interaction.Error(refusal, context.strings.Get(refusal));
        nav_->SetCurrent(current_);
        return false;
    }
    if (LeavingParameterPages(current_, target) && !LeaveSettingMode()) {
        nav_->SetCurrent(current_);
        return false;
    }
    if (target == current_) {
        nav_->SetCurrent(current_);
        return true;
    }
    if (current_ == Category::PrinterSetting) printerPage_->StoreValues();
    const auto index = static_cast<std::size_t>(target);
    if (categories_[index] != nullptr) categories_[index]->SetCurrentIndex(tabs_[index]);
    stack_->setCurrentIndex(static_cast<int>(target));
    current_ = target;
    nav_->SetCurrent(current_);
    UpdateMenus();
    return true;
}

bool MainWindow::LeaveSettingMode() {
    AppContext& context = services_.context;
    const SettingModeState state = context.settingModeState;
    if (state == SettingModeState::Online) return true;
    if (state == SettingModeState::AfterChange &&
        !services_.interaction.Confirm(sid::kMsgRestart, context.strings.Get(sid::kMsgRestart))) {
        return false;
    }
    params::PendingChanges& pending = parameterPages_->pending;
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::RestoreOnline;
    if (pending.connectionChanged) inputs->reconnectSettings = pending.connection;
    const bool restored = services_.runJob && services_.runJob(this, inputs) == QDialog::Accepted;
    // The printer took its new connection when it acknowledged it, so that
    // is applied whether or not this restore reached it; new control codes
    // only after a restore that did.
    if (!restored) pending.codesChanged = false;
    const bool connection = pending.connectionChanged;
    const bool codes = pending.codesChanged;
    if (params::ApplyPendingChanges(context.settings, pending)) {
        if (connection) printerPage_->LoadPrinterSettings();
        if (codes) downloads_->SetControlCodes(context.settings.controlCodes);
    }
    pending = params::PendingChanges{};
    for (PageView* page :
         categories_[static_cast<std::size_t>(Category::ParameterSetting)]->pages()) {
        page->RefreshFromModel();
    }
    return true;
}

void MainWindow::SetHeaderText(const std::string& text) { header_->SetHeaderText(text); }

void MainWindow::SetInterfaceChange(const std::string& settings) {
    parameterPages_->pending.connectionChanged = true;
    parameterPages_->pending.connection = settings;
}

void MainWindow::ApplyMultiLanMode(bool on) {
    for (PageView* page :
         categories_[static_cast<std::size_t>(Category::ParameterSetting)]->pages()) {
        page->SetMultiLanMode(on);
    }
}

void MainWindow::ResetPages(const PageResets& resets) {
    ForEachPage([&](PageView* page) {
        if (page != printerPage_) page->ResetPage(resets);
    });
}

void MainWindow::OnMenuCommand(int command) {
    switch (command) {
        case command::kExit:
            close();
            return;
        case command::kHelpContents:
            OnHelp();
            return;
        case command::kAbout:
            OnAbout();
            return;
        default:
            if (PageView* page = visiblePage()) std::ignore = page->HandleCommand(command);
            return;
    }
}

void MainWindow::OnOptions() {
    if (!LeaveSettingMode()) return;
    AppContext& context = services_.context;
    EnvironmentDialog dialog(
        services_,
        [this] {
            if (current_ == Category::PrinterSetting) printerPage_->StoreValues();
        },
        this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (context.restartRequested) {
        close();
        return;
    }
    downloads_->SetControlCodes(context.settings.controlCodes);
}

void MainWindow::OnAbout() {
    const Strings& strings = services_.context.strings;
    QMessageBox box(QMessageBox::NoIcon, Text(strings, kAboutCaption), Text(strings, kAboutText),
                    QMessageBox::Ok, this);
    box.setIconPixmap(ProgramIcon().pixmap(48, 48));
    box.exec();
}

void MainWindow::OnHelp() {
    std::ignore = ShowHelp(services_.context, services_.interaction, this, help::Contents());
}

help::Topic MainWindow::helpTopic() const {
    int label = sid::kPrinterSettingLabel;
    if (current_ != Category::PrinterSetting) {
        const std::vector<int> labels = CategoryTabLabelIds(current_);
        const int tab = categories_[static_cast<std::size_t>(current_)]->currentIndex();
        if (tab >= 0 && tab < static_cast<int>(labels.size()))
            label = labels[static_cast<std::size_t>(tab)];
    }
    return help::PageTopic(label).value_or(help::Contents());
}

void MainWindow::OnServiceMode(ServiceMode requested) {
    AppContext& context = services_.context;
    const ServiceMode raised = RaiseServiceMode(context.serviceMode, requested);
    if (raised == context.serviceMode) return;
    context.serviceMode = raised;
    ForEachPage([](PageView* page) { page->ServiceModeChanged(); });
}

void MainWindow::ShowWithPlacement() {
    const QString stored = QSettings().value(kPlacementKey).toString();
    if (const auto placement = ParseWindowPlacement(FromQt(stored))) {
        setGeometry(placement->left, placement->top, placement->right - placement->left,
                    placement->bottom - placement->top);
        if (placement->showCommand == kShowMaximised) {
            showMaximized();
            return;
        }
    } else {
        const WindowSize size = DefaultWindowSize(services_.context.isJapanese);
        resize(size.width, size.height);
    }
    show();
}

void MainWindow::SavePlacement() {
    QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (!normal.isValid()) normal = geometry();
    WindowPlacement p;
    p.showCommand = isMaximized() ? kShowMaximised : isMinimized() ? kShowMinimised : kShowNormal;
    p.minX = p.minY = p.maxX = p.maxY = -1;
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    QSettings().setValue(kPlacementKey, ToQt(FormatWindowPlacement(p)));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!LeaveSettingMode()) {
        event->ignore();
        return;
    }
    if (current_ == Category::PrinterSetting) printerPage_->StoreValues();
    SavePlacement();
    event->accept();
}

}  // namespace rvq::ui
