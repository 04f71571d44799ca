// The systemd unit that cmake --install ships: its own user, hardening that systemd rates as
// safe, no restarts when the service cannot start, and the sample release through the service
// in the unit's sandbox (approximated: a private /tmp, a read-only system but for
// /var/spool/zan-hub, no home folders, the service's own user, the folders its tmpfiles entry
// makes).
#include "hub_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace zan::testing;

namespace {

QString readText(const QString& path) {
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  return QString::fromUtf8(f.readAll());
}

}  // namespace

// The unit runs zan-hub as its own user with its configuration file, never restarts it when it
// cannot start (exit code 2), and `systemd-analyze security --offline=true` rates it 3.0 or less.
TEST(Unit, RunsAsItsOwnUserHardenedAndIsNotRestartedInVain) {
  const QString unit = QStringLiteral(ZAN_HUB_UNIT);
  const QString text = readText(unit);
  for (const char* line :
       {"User=zan-hub", "RestartPreventExitStatus=2", "PrivateTmp=yes", "ProtectSystem=strict",
        "ReadWritePaths=-/var/spool/zan-hub", "NoNewPrivileges=yes"})
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^%1$").arg(QLatin1String(line)),
                                                 QRegularExpression::MultilineOption)))
        << "missing " << line;
  EXPECT_TRUE(text.contains(QRegularExpression("^ExecStart=/.*/zan-hub --config /etc/zan-hub.conf$",
                                               QRegularExpression::MultilineOption)));
  const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
  if (analyze.isEmpty())
    GTEST_SKIP() << "systemd-analyze is not installed: the rating is not checked";
  QProcess p;
  p.start(analyze, {"security", "--offline=true", unit});
  ASSERT_TRUE(p.waitForFinished(60000));
  const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
  const auto m = QRegularExpression(QStringLiteral("Overall exposure level for zan-hub.service: "
                                                   "([0-9.]+) ([A-Z]+)"))
                     .match(out);
  ASSERT_TRUE(m.hasMatch()) << qPrintable(out);
  std::printf("systemd-analyze security --offline=true: %s %s\n", qPrintable(m.captured(1)),
              qPrintable(m.captured(2)));
  EXPECT_LE(m.captured(1).toDouble(), 3.0) << qPrintable(out);
}

// The sample (examples/batch/capture-setup.json) released through the service as the unit runs
// it: its own user, a private /tmp, the system read-only but for the folders the tmpfiles entry
// makes, the shipped example configuration: "Released 2 of 2".
TEST(Unit, TheSampleReleasesThroughTheServiceInTheUnitsSandbox) {
  const QString why = whyNoUsers();
  if (!why.isEmpty()) GTEST_SKIP() << qPrintable(why);
  QTemporaryDir work;
  // The tmpfiles entries, with the service's user.
  QString folders;
  for (const QString& line :
       readText(QStringLiteral(ZAN_HUB_SOURCE_DIR "/zan-hub.tmpfiles")).split(QLatin1Char('\n'))) {
    const QStringList f = line.simplified().split(QLatin1Char(' '));
    if (f.size() < 5 || f[0] != QLatin1String("d")) continue;
    const QString owner = f[3] == QLatin1String("zan-hub") ? QString::number(kServiceUser) : f[3];
    const QString group = f[4] == QLatin1String("zan-hub") ? QString::number(kServiceUser) : f[4];
    folders += QStringLiteral("mkdir -p '%1' && chown %2:%3 '%1' && chmod %4 '%1'\n")
                   .arg(f[1], owner, group, f[2]);
  }
  ASSERT_FALSE(folders.isEmpty());
  // The example configuration, with the sample hub copied where the service may read it.
  const QString config =
      readText(QStringLiteral(ZAN_HUB_SOURCE_DIR "/zan-hub.conf.example"))
          .replace(QRegularExpression("^hub = .*$", QRegularExpression::MultilineOption),
                   "hub = /var/spool/zan-hub/hub");
  writeFile(work.filePath("zan-hub.conf"), config.toUtf8());
  const QString setup = work.filePath("capture-setup.json");
  writeFile(setup,
            readText(QStringLiteral(ZAN_EXAMPLES_DIR "/batch/capture-setup.json"))
                .replace(QStringLiteral("\"../hub\""), QStringLiteral("\"/var/spool/zan-hub/hub\""))
                .toUtf8());
  const QString script =
      QStringLiteral(
          "mount -t tmpfs tmpfs /var/spool || exit 99\n"
          "%1"
          "mkdir -p /var/spool/zan-hub/hub && cp -r '%2/hub/Workflows' '%2/hub/Dictionaries' "
          "/var/spool/zan-hub/hub/ && cp '%3/zan-hub.conf' /var/spool/zan-hub/ && "
          "chmod -R a+rX /var/spool/zan-hub/hub\n"
          // The service's own /tmp hides a build tree under /tmp: it runs from a copy.
          "mkdir -p /var/spool/zan-hub-bin && cp '%5' /var/spool/zan-hub-bin/zan-hub\n"
          "unshare --mount --propagation private sh -c '"
          "mount -t tmpfs -o mode=1777 tmpfs /tmp && "
          "mount --bind /var/spool/zan-hub /var/spool/zan-hub && "
          "mount -o remount,bind,ro / && "
          "mount -t tmpfs tmpfs /root && mount -t tmpfs tmpfs /home && "
          "exec setpriv --reuid=%4 --regid=%4 --clear-groups -- \"$0\" --config "
          "/var/spool/zan-hub/zan-hub.conf --rescan 0.5' /var/spool/zan-hub-bin/zan-hub > "
          "'%3/hub.log' 2>&1 &\n"
          "hub=$!\n"
          "'%6' --setup '%7' --batch '%2/batch/batch.json' --out '%3/report' --status-timeout 120\n"
          "echo \"release=$?\"\n"
          "kill -TERM $hub; wait $hub; echo \"service=$?\"\n")
          .arg(folders, QStringLiteral(ZAN_EXAMPLES_DIR), work.path())
          .arg(kServiceUser)
          .arg(zanHubBinary(), zanReleaseBinary(), setup);
  QProcess shell;
  shell.setProcessChannelMode(QProcess::MergedChannels);
  shell.start(QStringLiteral("unshare"),
              {"--mount", "--propagation", "private", "sh", "-c", script});
  ASSERT_TRUE(shell.waitForFinished(300000));
  const QString out = QString::fromUtf8(shell.readAll());
  if (shell.exitCode() == 99)
    GTEST_SKIP() << "cannot mount a private tmpfs here: " << qPrintable(out);
  const QString log = readText(work.filePath("hub.log"));
  EXPECT_TRUE(out.contains("Released 2 of 2 documents")) << qPrintable(out) << qPrintable(log);
  EXPECT_TRUE(out.contains("release=0")) << qPrintable(out);
  EXPECT_TRUE(out.contains("service=0")) << qPrintable(out) << qPrintable(log);
}
