#pragma once

#include <QTextBrowser>
#include <QWidget>
#include <vector>

#include "core/app/help_files.h"
#include "core/app/help_search.h"
#include "core/app/help_topics.h"

class QLineEdit;
class QListWidget;
class QToolButton;

namespace rvq {
class Strings;
struct AppContext;
class Interaction;
}  // namespace rvq

namespace rvq::ui {

// Shows the pages of the help; a page missing from the language's folder
// (not translated yet) is read from the English one.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(help::Location location, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;
    const help::Location& location() const { return location_; }

private:
    help::Location location_;
};

// The help window: the manual's pages with back and forward, the contents
// and a search over the text of every page.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(const Strings& strings, help::Location location, QWidget* parent);

    void Open(const help::Topic& topic);
    // Lists the sections that hold every word of `query`; the first one is opened.
    void Search(const QString& query);

    HelpBrowser* browser() const { return browser_; }
    QLineEdit* searchField() const { return search_; }
    QListWidget* resultList() const { return results_; }
    QToolButton* backButton() const { return back_; }
    QToolButton* forwardButton() const { return forward_; }

private:
    void LoadSections();
    void OpenResult(int row);

    const Strings& strings_;
    HelpBrowser* browser_ = nullptr;
    QLineEdit* search_ = nullptr;
    QListWidget* results_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    std::vector<help::Section> sections_;
    std::vector<help::Hit> hits_;
    QString lastQuery_;
};

// Where the help of the interface's language is.
help::Location LocateHelp(const AppContext& context);

// Opens the help on `topic` in the help window of the window `from` belongs
// to (a modal dialog gets its own, so it can be used while the dialog is
// open). When the help cannot be found, a message names the file and the
// folders looked in. Returns the window, or nothing.
HelpWindow* ShowHelp(const AppContext& context, Interaction& interaction, QWidget* from,
                     const help::Topic& topic);
// The same with the help at a known place.
HelpWindow* ShowHelpAt(const help::Location& location, const AppContext& context,
                       Interaction& interaction, QWidget* from, const help::Topic& topic);

}  // namespace rvq::ui
