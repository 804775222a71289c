#include "platform/instance_guard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>

struct InstanceGuard::Lock {
  explicit Lock(const std::string& path) : file(QString::fromStdString(path)) {}
  QLockFile file;
};

InstanceGuard::InstanceGuard(const std::string& baseFolder)
    : m_lockPath(LockPathFor(baseFolder)), m_lock(std::make_unique<Lock>(m_lockPath)) {
  // A running instance never goes stale however long it runs; only a lock whose
  // owner process is gone is taken over.
  m_lock->file.setStaleLockTime(0);
}

InstanceGuard::~InstanceGuard() = default;

bool InstanceGuard::Acquire(std::chrono::milliseconds wait) {
  return m_lock->file.tryLock(static_cast<int>(wait.count()));
}

std::string InstanceGuard::LockPathFor(const std::string& baseFolder) {
  const QByteArray folderHash =
      QCryptographicHash::hash(QByteArray::fromStdString(baseFolder), QCryptographicHash::Sha1).toHex().left(16);
  return QDir(QDir::tempPath())
      .filePath(QStringLiteral("!Vantrose@@@-") + QString::fromLatin1(folderHash) + QStringLiteral(".lock"))
      .toStdString();
}
