// rvq-setting-tool started as a user starts it: from a menu (an empty
// folder), without a display for --help and --version, with a mistake on
// its command line.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "core/app/instance_lock.h"
#include "support/temp_dir.h"

namespace rvq::test {

namespace {

struct Run {
    int exitCode = -1;
    QString out, err;
};

Run Start(const QStringList& args, const QString& folder, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(RVQ_DESKTOP_PATH), args);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit) run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

}  // namespace

class DesktopProgramTest : public QObject {
    Q_OBJECT

private slots:
    void helpAndVersionNeedNoDisplay() {
        TempDir folder;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        const Run version =
            Start({QStringLiteral("--version")}, QString::fromStdString(folder.path()), env);
        QCOMPARE(version.exitCode, 0);
        QVERIFY2(version.out.startsWith(QStringLiteral("rvq-setting-tool (R-VQ Setting Tool) ")),
                 qPrintable(version.out));
        QVERIFY2(version.out.contains(QStringLiteral("\nQt 6.")), qPrintable(version.out));
        const Run help =
            Start({QStringLiteral("--help")}, QString::fromStdString(folder.path()), env);
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(QStringLiteral("usage: rvq-setting-tool [options]")));
        QVERIFY(help.out.contains(QStringLiteral("--settings FILE|DIR")));
    }

    void aMistakeOnTheCommandLineEndsWithTwo() {
        TempDir folder, runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Qt says nothing of its own about a missing runtime folder.
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime.path()));
        const struct {
            QStringList args;
            QString err;
        } cases[] = {
            {{QStringLiteral("--bogus")},
             QStringLiteral(
                 "rvq-setting-tool: unknown option '--bogus' (see rvq-setting-tool --help)\n")},
            {{QStringLiteral("--settings")},
             QStringLiteral(
                 "rvq-setting-tool: --settings needs a value (see rvq-setting-tool --help)\n")},
            {{QStringLiteral("--"), QStringLiteral("x")},
             QStringLiteral(
                 "rvq-setting-tool: unexpected argument 'x' (see rvq-setting-tool --help)\n")},
        };
        for (const auto& c : cases) {
            const Run run = Start(c.args, QString::fromStdString(folder.path()), env);
            QCOMPARE(run.exitCode, 2);
            QCOMPARE(run.err, c.err);
        }
    }

    // What a desktop launcher does: start it from the home folder of a user
    // who never ran it.
    void aFreshUserFromAnEmptyFolderSeesTheMainWindow() {
        {
            // Another instance (a demo) would make this one end at once.
            auto lock = InstanceLock::TryAcquire();
            if (!lock) QSKIP("another instance of rvq-setting-tool is running");
        }
        TempDir home, folder;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), QString::fromStdString(home.path()));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home.File("config")));
        const Run run =
            Start({QStringLiteral("--startup-time")}, QString::fromStdString(folder.path()), env);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(QStringLiteral("shown ")), qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(QStringLiteral("window \"R-VQ Setting Tool\"")),
                 qPrintable(run.out));
        QVERIFY(!ReadAll(home.File("config/rvq-setting-tool/VQTool.INI")).empty());
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::DesktopProgramTest)
#include "desktop_program_test.moc"
