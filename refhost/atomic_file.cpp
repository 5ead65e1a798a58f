// atomic_file.cpp: temporary file, fsync, rename, fsync of the folder.
#include "refhost/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvohost {

namespace {

constexpr const char kTempMark[] = ".tmp.";

std::string Why(const std::string& path, const char* step) {
  return path + ": " + step + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += size_t(n);
  }
  return true;
}

bool SyncFolder(const std::string& dir, std::string* error) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = Why(dir, "open folder");
    return false;
  }
  const bool ok = ::fsync(fd) == 0;
  if (!ok && error) *error = Why(dir, "fsync folder");
  ::close(fd);
  return ok;
}

}  // namespace

bool IsAtomicTempName(const std::string& name) {
  const size_t mark = name.rfind(kTempMark);
  if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) return false;
  const std::string pid = name.substr(mark + sizeof kTempMark - 1);
  return !pid.empty() && pid.size() <= 10 && pid.find_first_not_of("0123456789") == std::string::npos;
}

bool WriteFileAtomically(const std::string& dir, const std::string& name, const std::string& bytes,
                         std::string* error) {
  const std::string target = dir + "/" + name;
  const std::string temp = dir + "/." + name + kTempMark + std::to_string(::getpid());
  // Created anew: a file or link left under the name (a killed write of an
  // earlier process with this id, or planted) is removed, never followed.
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(temp.c_str(), flags, 0644);
  if (fd < 0 && errno == EEXIST && ::unlink(temp.c_str()) == 0) fd = ::open(temp.c_str(), flags, 0644);
  if (fd < 0) {
    if (error) *error = Why(temp, "create");
    return false;
  }
  const char* failed = nullptr;
  if (!WriteAll(fd, bytes))
    failed = "write";
  else if (::fsync(fd) != 0)
    failed = "fsync";
  if (failed) {
    if (error) *error = Why(temp, failed);
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  }
  if (::close(fd) != 0) {
    if (error) *error = Why(temp, "close");
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    if (error) *error = Why(target, "rename");
    ::unlink(temp.c_str());
    return false;
  }
  return SyncFolder(dir, error);
}

}  // namespace korvohost
