#include <gtest/gtest.h>

#include <csignal>

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

namespace {

// The program itself, asked to end by the system as a session's end, a
// terminal's hang-up or Ctrl+C would: it ends as its close box ends it, with
// the settings file written and status 0.
TEST(ProgramSignals, TermHupAndIntEndTheProgramAsItsCloseBoxDoes)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        QTemporaryDir folder;
        const QString program = folder.filePath(QStringLiteral("Qorvix"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVEX_PROGRAM), program));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), folder.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder.path());
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(1500);
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);

        QString settings;
        QDirIterator found(folder.path(), {QStringLiteral("Qorvix.ini")}, QDir::Files, QDirIterator::Subdirectories);
        if (found.hasNext())
            settings = found.next();
        ASSERT_FALSE(settings.isEmpty());
        EXPECT_EQ(QSettings(settings, QSettings::IniFormat).value(QStringLiteral("SizeParam/ImageW")).toInt(), 580);
    }
}

}  // namespace
