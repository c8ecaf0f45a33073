#include "replace_file.h"

#include <cstdio>

namespace quillo::wic {

std::string FileErrorReason(DWORD error) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
    case ERROR_BAD_NETPATH:
      return "the folder does not exist.";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return "the file name is not valid.";
    case ERROR_FILENAME_EXCED_RANGE: return "the path is too long.";
    case ERROR_ACCESS_DENIED: return "access is denied.";
    case ERROR_WRITE_PROTECT: return "the disk is write-protected.";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "the disk is full.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "the file is in use by another program.";
    case ERROR_NOT_READY: return "the drive is not ready.";
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "Windows reported error %lu.", static_cast<unsigned long>(error));
      return text;
    }
  }
}

ReplacingFile::ReplacingFile(const char* target) : target_(target ? target : "") {
  if (target_.empty()) {
    reason_ = "no file name was given.";
    return;
  }
  const DWORD attributes = GetFileAttributesA(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    reason_ = "a folder of that name exists.";
    return;
  }
  // Windows refuses to move over a read-only file; checked here so every
  // system keeps such a file.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    reason_ = "the file is read-only.";
    return;
  }
  const size_t slash = target_.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string(".") : target_.substr(0, slash + 1);
  if (folder.size() + 14 >= MAX_PATH) {
    reason_ = "the path is too long.";
    return;
  }
  char temp[MAX_PATH] = {};
  if (!GetTempFileNameA(folder.c_str(), "qlo", 0, temp)) {
    DWORD error = GetLastError();
    // A missing folder shows up under several codes depending on the system.
    if (error != ERROR_ACCESS_DENIED && error != ERROR_WRITE_PROTECT && error != ERROR_DISK_FULL) {
      const DWORD folderAttributes = GetFileAttributesA(folder.c_str());
      if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY))
        error = ERROR_PATH_NOT_FOUND;
    }
    reason_ = FileErrorReason(error);
    return;
  }
  temp_ = temp;
}

ReplacingFile::~ReplacingFile() {
  if (!temp_.empty() && !committed_) DeleteFileA(temp_.c_str());
}

bool ReplacingFile::Commit() {
  if (temp_.empty()) return false;
  if (!MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    reason_ = FileErrorReason(GetLastError());
    return false;
  }
  committed_ = true;
  return true;
}

bool WriteFileReplacing(const char* target, const void* data, size_t size, std::string& reason) {
  ReplacingFile file(target);
  if (!file.ok()) {
    reason = file.reason();
    return false;
  }
  HANDLE h = CreateFileA(file.tempPath(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    reason = FileErrorReason(GetLastError());
    return false;
  }
  const auto* p = static_cast<const BYTE*>(data);
  bool written = true;
  DWORD error = 0;
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : DWORD(size);
    DWORD done = 0;
    if (!WriteFile(h, p, chunk, &done, nullptr) || done != chunk) {
      error = GetLastError();
      written = false;
      break;
    }
    p += chunk;
    size -= chunk;
  }
  if (written && !FlushFileBuffers(h)) {
    error = GetLastError();
    written = false;
  }
  CloseHandle(h);
  if (!written) {
    reason = FileErrorReason(error ? error : ERROR_DISK_FULL);
    return false;
  }
  if (!file.Commit()) {
    reason = file.reason();
    return false;
  }
  return true;
}

}  // namespace quillo::wic
