// File URLs: absolute POSIX paths, and reading the file one names.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "CFInternal.h"

using standin::Checked;
using standin::kTypeIDURL;

OpaqueCFURL::OpaqueCFURL(std::string filePath, bool directory)
    : CFObject(kTypeIDURL, false), path(std::move(filePath)), isDirectory(directory) {}

bool OpaqueCFURL::Equals(const CFObject& other) const {
  const auto& that = static_cast<const OpaqueCFURL&>(other);
  return path == that.path && isDirectory == that.isDirectory;
}

namespace standin {

CFURLRef NewFileURL(std::string absolutePath, bool isDirectory) {
  while (absolutePath.size() > 1 && absolutePath.back() == '/') absolutePath.pop_back();
  return new OpaqueCFURL(std::move(absolutePath), isDirectory);
}

const std::string& Path(CFURLRef url) { return Checked<OpaqueCFURL>(url, kTypeIDURL, "CFURL")->path; }

bool ReadFile(const std::string& path, std::string* bytes, int* error) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    *error = errno;
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *error = EISDIR;
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = errno;
    return false;
  }
  bytes->clear();
  char buffer[8192];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    *error = EIO;
    return false;
  }
  return true;
}

}  // namespace standin

CFTypeID CFURLGetTypeID(void) { return kTypeIDURL; }

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory) {
  if (filePath == nullptr || pathStyle != kCFURLPOSIXPathStyle) return nullptr;
  std::string path = standin::UTF8(filePath);
  if (path.empty()) return nullptr;
  if (path[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) return nullptr;
    path = std::string(cwd) + "/" + path;
  }
  return standin::NewFileURL(path, isDirectory);
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle) {
  if (pathStyle != kCFURLPOSIXPathStyle) return nullptr;
  return standin::NewStringFromUTF8(standin::Path(anURL));
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, UInt8* buffer, CFIndex maxBufLen) {
  const std::string& path = standin::Path(url);
  if (buffer == nullptr || maxBufLen < 0 || path.size() + 1 > static_cast<size_t>(maxBufLen)) {
    return false;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return true;
}

Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef, CFURLRef url,
                                                 CFDataRef* resourceData,
                                                 CFDictionaryRef* properties,
                                                 CFArrayRef desiredProperties,
                                                 SInt32* errorCode) {
  if (resourceData != nullptr) *resourceData = nullptr;
  if (properties != nullptr) *properties = nullptr;
  if (errorCode != nullptr) *errorCode = 0;
  if (url == nullptr || desiredProperties != nullptr) {
    if (errorCode != nullptr) *errorCode = kCFURLUnknownError;
    return false;
  }
  std::string bytes;
  int error = 0;
  if (!standin::ReadFile(standin::Path(url), &bytes, &error)) {
    if (errorCode != nullptr) {
      *errorCode = error == ENOENT || error == ENOTDIR ? kCFURLResourceNotFoundError
                   : error == EACCES                  ? kCFURLResourceAccessViolationError
                                                      : kCFURLUnknownError;
    }
    return false;
  }
  if (resourceData != nullptr) *resourceData = standin::NewData(std::move(bytes));
  return true;
}
