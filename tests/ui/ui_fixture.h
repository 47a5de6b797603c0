#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/job_runner.h"
#include "core/platform/file_io.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "ui/file_dialogs.h"
#include "ui/ui_services.h"

namespace rvq::test {

// Answers file dialogs with a preset name.
class ScriptedFileDialogs : public ui::FileDialogs {
public:
    std::optional<std::string> next;
    std::optional<std::string> OpenFile(QWidget*, int, int) override { return next; }
    std::optional<std::string> SaveFile(QWidget*, int, int, int) override { return next; }
    std::optional<std::string> OpenFolder(QWidget*, int) override { return next; }
};

// A job executor that plays a script: per printer a result, and whether
// the job holds until it is cancelled (or released).
class ScriptedExecutor : public JobExecutor {
public:
    enum class Outcome { Succeed, Fail, HoldUntilCancel };

    void SetOutcome(Outcome outcome) {
        std::lock_guard lock(mutex_);
        outcome_ = outcome;
    }
    void SetOutcomeFor(int printer, Outcome outcome) {
        std::lock_guard lock(mutex_);
        perPrinter_[printer] = outcome;
    }
    int holding() const { return holding_; }

    bool Run(const JobSetup& setup, JobReporter& reporter) override {
        Outcome outcome;
        {
            std::lock_guard lock(mutex_);
            const auto found = perPrinter_.find(setup.printerIndex);
            outcome = found != perPrinter_.end() ? found->second : outcome_;
        }
        reporter.LogStatus(1500);
        reporter.PostProgress(50);
        if (outcome == Outcome::HoldUntilCancel) {
            ++holding_;
            // Stands for a printer exchange that checks for a cancel between
            // its steps.
            std::unique_lock lock(mutex_);
            while (!reporter.cancelRequested()) wake_.wait_for(lock, std::chrono::milliseconds(5));
            lock.unlock();
            --holding_;
            reporter.CancelCheck();
            return false;
        }
        if (outcome == Outcome::Fail) {
            reporter.Fail(sid::kDetailTimeout);
            return false;
        }
        reporter.LogStatus(1501);
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    Outcome outcome_ = Outcome::Succeed;
    std::map<int, Outcome> perPrinter_;
    std::atomic<int> holding_{0};
};

// The application state, a document with a model from the shipped
// definition file and scripted ways to ask the user.
struct UiFixture {
    TempDir folder;
    AppContext context;
    Document document;
    ScriptedInteraction interaction;
    ScriptedFileDialogs files;
    std::vector<std::string> usbPaths;
    std::vector<std::shared_ptr<const JobInputs>> launched;
    std::optional<std::vector<bool>> picked;  // the Multi-LAN selection; nothing = Cancel
    ui::UiServices services{context, document, interaction, files, {}, {}, {}};

    UiFixture() {
        context.settings.programFolder = RVQ_SOURCE_DIR "/data";
        context.settings.iniPath = folder.File("VQTool.INI");
        context.settings.locations =
            FileLocations::InFolder(context.settings.iniPath, context.settings.programFolder);
        // The help the build made from the manual.
        context.settings.locations.buildFolder =
            ResolveFileLocations(LocationInputs::FromProcess()).buildFolder;
        context.settings.settingsWritable = true;
        context.settings.machineStoreWritable = true;
        context.settings.interfaceName = "LAN";
        context.settings.lanHost = "127.0.0.1";
        if (!document.OnNewDocument(JoinPath(context.settings.programFolder, kDefinitionsFileName),
                                    context.settings.printerModel, context.settings.destination)) {
            qFatal("the shipped definition file did not load");
        }
        services.runJob = [this](QWidget*, const std::shared_ptr<const JobInputs>& inputs) {
            launched.push_back(inputs);
            return 1;
        };
        services.pickPrinters = [this](QWidget*, const std::vector<LanPrinter>&) { return picked; };
        services.enumerateUsb = [this](const std::string&, std::vector<std::string>& paths) {
            paths = usbPaths;
            return true;
        };
    }

    // The interface in Japanese, with the shipped Japanese table.
    void UseJapanese() {
        context.settings.language = "JPN";
        if (!SelectLanguage(context)) qFatal("the Japanese table did not load");
    }
};

// Chooses an entry of a drop list as a user does: opens its list and
// clicks the entry.
inline void ChooseEntry(QComboBox* combo, const QString& text) {
    const int target = combo->findText(text);
    if (target < 0) qFatal("no entry %s", qPrintable(text));
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex index = combo->model()->index(target, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

// Types text as key presses, also characters no key of the test keyboard
// has (they arrive as the text of a key event, as from an input method).
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

}  // namespace rvq::test
