#include "ui/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>
#include <set>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/platform/file_io.h"
#include "ui/pictures.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kTitle = 60021;
constexpr int kBack = 60022;
constexpr int kForward = 60023;
constexpr int kContents = 60024;
constexpr int kSearchHint = 60025;
constexpr int kNoHits = 60026;
constexpr int kMsgHelpMissing = 60027;
constexpr int kWidth = 980;
constexpr int kHeight = 720;
constexpr int kResultsWidth = 260;

QUrl TopicUrl(const help::Location& location, const help::Topic& topic) {
    QUrl url = QUrl::fromLocalFile(ToQt(JoinPath(location.folder, topic.file)));
    if (!topic.anchor.empty()) url.setFragment(ToQt(topic.anchor));
    return url;
}

}  // namespace

HelpBrowser::HelpBrowser(help::Location location, QWidget* parent)
    : QTextBrowser(parent), location_(std::move(location)) {
    setOpenExternalLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    // A page or picture the language's folder lacks comes from the English one.
    if (name.isLocalFile() && !QFileInfo::exists(name.toLocalFile())) {
        const QString own = QDir(ToQt(location_.folder)).absolutePath() + QLatin1Char('/');
        const QString path = QFileInfo(name.toLocalFile()).absoluteFilePath();
        if (path.startsWith(own)) {
            QUrl english = QUrl::fromLocalFile(ToQt(location_.englishFolder) + QLatin1Char('/') +
                                               path.mid(own.size()));
            english.setFragment(name.fragment());
            return QTextBrowser::loadResource(type, english);
        }
    }
    return QTextBrowser::loadResource(type, name);
}

HelpWindow::HelpWindow(const Strings& strings, help::Location location, QWidget* parent)
    : QWidget(parent, Qt::Window), strings_(strings) {
    setWindowTitle(Text(strings, kTitle));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);

    browser_ = new HelpBrowser(std::move(location), this);
    auto makeButton = [this, &strings](int id, Qt::ArrowType arrow) {
        auto* button = new QToolButton(this);
        button->setText(Text(strings, id));
        button->setToolTip(Text(strings, id));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        if (arrow != Qt::NoArrow) button->setArrowType(arrow);
        return button;
    };
    back_ = makeButton(kBack, Qt::LeftArrow);
    forward_ = makeButton(kForward, Qt::RightArrow);
    QToolButton* contents = makeButton(kContents, Qt::NoArrow);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(contents, &QToolButton::clicked, this, [this] { Open(help::Contents()); });

    search_ = new QLineEdit(this);
    search_->setPlaceholderText(Text(strings, kSearchHint));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::returnPressed, this, [this] { Search(search_->text()); });

    results_ = new QListWidget(this);
    results_->hide();
    connect(results_, &QListWidget::currentRowChanged, this, &HelpWindow::OpenResult);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(contents);
    bar->addStretch(1);
    bar->addWidget(search_, 1);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(results_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kResultsWidth, kWidth - kResultsWidth});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    resize(kWidth, kHeight);
}

void HelpWindow::Open(const help::Topic& topic) {
    browser_->setSource(TopicUrl(browser_->location(), topic));
}

void HelpWindow::LoadSections() {
    if (!sections_.empty()) return;
    const help::Location& location = browser_->location();
    std::set<QString> seen;
    for (const std::string& folder : {location.folder, location.englishFolder}) {
        const QDir dir(ToQt(folder));
        for (const QString& name :
             dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
            if (!seen.insert(name).second) continue;
            if (const auto html = ReadFileBytes(FromQt(dir.filePath(name)))) {
                std::vector<help::Section> page = help::SplitPage(FromQt(name), *html);
                sections_.insert(sections_.end(), page.begin(), page.end());
            }
        }
    }
}

void HelpWindow::Search(const QString& query) {
    LoadSections();
    lastQuery_ = query.trimmed();
    hits_ = help::Search(sections_, FromQt(lastQuery_));
    results_->blockSignals(true);
    results_->clear();
    // Each hit with its page, when the page has another title.
    std::map<std::string, std::string> pageTitles;
    for (const help::Section& section : sections_)
        if (section.anchor.empty()) pageTitles.emplace(section.file, section.title);
    for (const help::Hit& hit : hits_) {
        const std::string& page = pageTitles[hit.section->file];
        QString title = ToQt(hit.section->title.empty() ? hit.section->file : hit.section->title);
        if (!page.empty() && page != hit.section->title)
            title += QStringLiteral(" \u2014 ") + ToQt(page);
        results_->addItem(title);
    }
    if (hits_.empty()) {
        auto* none = new QListWidgetItem(Text(strings_, kNoHits), results_);
        none->setFlags(Qt::NoItemFlags);
    }
    results_->blockSignals(false);
    results_->show();
    if (!hits_.empty()) results_->setCurrentRow(0);
}

void HelpWindow::OpenResult(int row) {
    if (row < 0 || row >= static_cast<int>(hits_.size())) return;
    const help::Section& section = *hits_[static_cast<std::size_t>(row)].section;
    Open({section.file, section.anchor});
    // Mark the first of the words from the top of the section on.
    const QString first = lastQuery_.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    if (first.isEmpty()) return;
    browser_->setTextCursor(browser_->cursorForPosition(QPoint(0, 0)));
    if (!browser_->find(first)) std::ignore = browser_->find(first, QTextDocument::FindBackward);
}

help::Location LocateHelp(const AppContext& context) {
    return help::Locate(context.settings.locations.DataFolders(),
                        context.strings.Get(sid::kHelpFile), Strings().Get(sid::kHelpFile));
}

HelpWindow* ShowHelp(const AppContext& context, Interaction& interaction, QWidget* from,
                     const help::Topic& topic) {
    return ShowHelpAt(LocateHelp(context), context, interaction, from, topic);
}

HelpWindow* ShowHelpAt(const help::Location& location, const AppContext& context,
                       Interaction& interaction, QWidget* from, const help::Topic& topic) {
    if (!location.found) {
        std::string folders;
        for (const std::string& folder : location.tried) folders += "  " + folder + "\r\n";
        if (!folders.empty()) folders.resize(folders.size() - 2);
        const std::string& format = context.strings.Get(kMsgHelpMissing);
        interaction.Error(kMsgHelpMissing,
                          FormatRuntime(format, location.startFile.c_str(), folders.c_str()));
        return nullptr;
    }
    // A modal dialog blocks every window but its own children.
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr && from != nullptr) owner = from->window();
    // F1 in the help window itself stays in it.
    HelpWindow* window = qobject_cast<HelpWindow*>(owner);
    if (window == nullptr && owner != nullptr)
        window = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr || window->browser()->location().folder != location.folder) {
        delete window;
        window = new HelpWindow(context.strings, location, owner);
    }
    window->Open(topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace rvq::ui
