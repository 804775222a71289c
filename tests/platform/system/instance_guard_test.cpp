// The single-instance lock: one holder per working folder, stale locks taken over.
#include "platform/instance_guard.h"

#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

TEST(InstanceGuard, OneHolderPerWorkingFolder) {
  TempFolder profile;
  const std::string folderA = profile.Path() + "A/";
  const std::string folderB = profile.Path() + "B/";
  InstanceGuard first(folderA);
  ASSERT_TRUE(first.Acquire(std::chrono::milliseconds(0)));
  InstanceGuard second(folderA);
  EXPECT_FALSE(second.Acquire(std::chrono::milliseconds(100)));
  InstanceGuard other(folderB);  // another profile never waits for this one
  EXPECT_TRUE(other.Acquire(std::chrono::milliseconds(0)));
  EXPECT_NE(first.LockPath(), other.LockPath());
  EXPECT_NE(first.LockPath().find("!Vantrose@@@"), std::string::npos);
}

TEST(InstanceGuard, LockOfACrashedInstanceIsTakenOver) {
  TempFolder profile;
  const std::string folder = profile.Path() + "crashed/";
  // A lock file left behind by a process that has ended.
  QProcess ended;
  ended.start(QStringLiteral("true"));
  ASSERT_TRUE(ended.waitForStarted());
  const qint64 deadPid = ended.processId();
  ASSERT_TRUE(ended.waitForFinished());
  QFile lock(QString::fromStdString(InstanceGuard::LockPathFor(folder)));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write(QByteArray::number(deadPid) + "\nvantrose\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  lock.close();

  InstanceGuard guard(folder);
  EXPECT_TRUE(guard.Acquire(std::chrono::milliseconds(2000)));
}

}  // namespace
