#include "support/faulty_file_system.h"

#include <algorithm>
#include <initializer_list>
#include <mutex>
#include <utility>

namespace shifrodel::testing {

// A file whose writes draw from a disk room: what fits is written, the rest
// fails as on a full disk.
class FaultyFileSystem::LimitedFile final : public File {
 public:
  LimitedFile(std::unique_ptr<File> inner, std::shared_ptr<Room> room)
      : inner_(std::move(inner)), room_(std::move(room)) {}

  std::int64_t Read(void* buffer, std::size_t size) override { return inner_->Read(buffer, size); }
  bool Write(const void* data, std::size_t size) override {
    const auto fits = static_cast<std::size_t>(
        std::min<std::int64_t>(room_->left, static_cast<std::int64_t>(size)));
    const bool written = fits == 0 || inner_->Write(data, fits);
    room_->left -= static_cast<std::int64_t>(fits);
    return written && fits == size;
  }
  std::int64_t Seek(std::int64_t offset, int origin) override {
    return inner_->Seek(offset, origin);
  }
  std::int64_t Size() override { return inner_->Size(); }
  bool Sync() override { return inner_->Sync(); }
  bool Close() override { return inner_->Close(); }

 private:
  std::unique_ptr<File> inner_;
  std::shared_ptr<Room> room_;
};

FaultyFileSystem::FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

FaultyFileSystem::Fault& FaultyFileSystem::Fail(FsOp op, std::string path, int os_error) {
  return FailWhere(
      op, [path = std::move(path)](std::string_view candidate) { return candidate == path; },
      os_error);
}

FaultyFileSystem::Fault& FaultyFileSystem::FailWhere(FsOp op, PathMatch match, int os_error) {
  std::lock_guard lock(mutex_);
  Fault& fault = faults_.emplace_back();
  fault.op_ = op;
  fault.match_ = std::move(match);
  fault.os_error_ = os_error;
  return fault;
}

void FaultyFileSystem::FailWritesAfter(std::int64_t bytes, PathMatch match) {
  std::lock_guard lock(mutex_);
  rooms_.push_back(std::make_shared<Room>(Room{bytes, std::move(match)}));
}

void FaultyFileSystem::ScriptDiskFree(std::vector<std::optional<std::uint64_t>> free_bytes,
                                      std::string volume) {
  std::lock_guard lock(mutex_);
  free_script_ = std::move(free_bytes);
  free_next_ = 0;
  free_volume_ = std::move(volume);
}

void FaultyFileSystem::Clear() {
  std::lock_guard lock(mutex_);
  faults_.clear();
  rooms_.clear();
  free_script_.clear();
  free_next_ = 0;
}

int FaultyFileSystem::Calls(FsOp op) const {
  std::lock_guard lock(mutex_);
  return calls_[static_cast<std::size_t>(op)];
}

int FaultyFileSystem::Calls(FsOp op, std::string_view path) const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(call_paths_.begin(), call_paths_.end(), [&](const auto& c) {
    return c.first == op && c.second == path;
  }));
}

bool FaultyFileSystem::Fails(FsOp op, std::initializer_list<std::string_view> paths,
                             int* os_error) {
  std::lock_guard lock(mutex_);
  ++calls_[static_cast<std::size_t>(op)];
  for (std::string_view path : paths) call_paths_.emplace_back(op, path);
  for (Fault& fault : faults_) {
    if (fault.op_ != op || fault.remaining_ == 0) continue;
    if (fault.match_ && std::none_of(paths.begin(), paths.end(), fault.match_)) continue;
    if (fault.remaining_ > 0) --fault.remaining_;
    if (os_error != nullptr) *os_error = fault.os_error_;
    return true;
  }
  return false;
}

std::shared_ptr<FaultyFileSystem::Room> FaultyFileSystem::RoomFor(const std::string& path) {
  std::lock_guard lock(mutex_);
  for (const auto& room : rooms_) {
    if (!room->match || room->match(path)) return room;
  }
  return nullptr;
}

std::optional<std::vector<DirEntry>> FaultyFileSystem::ListFolder(const std::string& folder) {
  if (Fails(FsOp::kListFolder, {folder})) return std::nullopt;
  return inner_.ListFolder(folder);
}

bool FaultyFileSystem::FileExists(const std::string& path) {
  return !Fails(FsOp::kFileExists, {path}) && inner_.FileExists(path);
}

bool FaultyFileSystem::FolderExists(const std::string& path) {
  return !Fails(FsOp::kFolderExists, {path}) && inner_.FolderExists(path);
}

bool FaultyFileSystem::ForceFolders(const std::string& path) {
  return !Fails(FsOp::kForceFolders, {path}) && inner_.ForceFolders(path);
}

bool FaultyFileSystem::CopyFile(const std::string& from, const std::string& to) {
  if (Fails(FsOp::kCopyFile, {from, to})) return false;
  const std::shared_ptr<Room> room = RoomFor(to);
  if (room == nullptr) return inner_.CopyFile(from, to);
  const std::optional<std::int64_t> size = inner_.FileSize(from);
  if (size && *size > room->left) return false;
  if (!inner_.CopyFile(from, to)) return false;
  room->left -= size.value_or(0);
  return true;
}

bool FaultyFileSystem::DeleteFile(const std::string& path) {
  return !Fails(FsOp::kDeleteFile, {path}) && inner_.DeleteFile(path);
}

bool FaultyFileSystem::RenameFile(const std::string& from, const std::string& to) {
  return !Fails(FsOp::kRenameFile, {from, to}) && inner_.RenameFile(from, to);
}

bool FaultyFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  return !Fails(FsOp::kReplaceFile, {from, to}) && inner_.ReplaceFile(from, to);
}

std::optional<std::uint32_t> FaultyFileSystem::GetAttributes(const std::string& path) {
  if (Fails(FsOp::kGetAttributes, {path})) return std::nullopt;
  return inner_.GetAttributes(path);
}

bool FaultyFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return !Fails(FsOp::kSetAttributes, {path}) && inner_.SetAttributes(path, attributes);
}

std::optional<std::int64_t> FaultyFileSystem::FileSize(const std::string& path) {
  if (Fails(FsOp::kFileSize, {path})) return std::nullopt;
  return inner_.FileSize(path);
}

std::optional<std::string> FaultyFileSystem::ReadWholeFile(const std::string& path) {
  if (Fails(FsOp::kReadWholeFile, {path})) return std::nullopt;
  return inner_.ReadWholeFile(path);
}

bool FaultyFileSystem::WriteFileAtomically(const std::string& path, std::string_view content) {
  if (Fails(FsOp::kWriteFileAtomically, {path})) return false;
  const std::shared_ptr<Room> room = RoomFor(path);
  const auto size = static_cast<std::int64_t>(content.size());
  if (room != nullptr && size > room->left) return false;
  if (!inner_.WriteFileAtomically(path, content)) return false;
  if (room != nullptr) room->left -= size;
  return true;
}

std::optional<std::uint32_t> FaultyFileSystem::GetLastWriteDosTime(const std::string& path) {
  if (Fails(FsOp::kGetLastWriteDosTime, {path})) return std::nullopt;
  return inner_.GetLastWriteDosTime(path);
}

bool FaultyFileSystem::SetLastWriteDosTime(const std::string& path, std::uint32_t dos_time) {
  return !Fails(FsOp::kSetLastWriteDosTime, {path}) && inner_.SetLastWriteDosTime(path, dos_time);
}

std::optional<DiskSpace> FaultyFileSystem::DiskFree(const std::string& path) {
  if (Fails(FsOp::kDiskFree, {path})) return std::nullopt;
  std::unique_lock lock(mutex_);
  if (free_script_.empty()) {
    lock.unlock();
    return inner_.DiskFree(path);
  }
  const std::optional<std::uint64_t> figure = free_script_[free_next_];
  if (free_next_ + 1 < free_script_.size()) ++free_next_;
  if (!figure) return std::nullopt;
  return DiskSpace{*figure, free_volume_};
}

std::optional<std::string> FaultyFileSystem::CanonicalPath(const std::string& path) {
  if (Fails(FsOp::kCanonicalPath, {path})) return std::nullopt;
  return inner_.CanonicalPath(path);
}

std::unique_ptr<File> FaultyFileSystem::OpenRead(const std::string& path, int* os_error) {
  if (Fails(FsOp::kOpenRead, {path}, os_error)) return nullptr;
  return inner_.OpenRead(path, os_error);
}

std::unique_ptr<File> FaultyFileSystem::CreateWrite(const std::string& path, int* os_error) {
  if (Fails(FsOp::kCreateWrite, {path}, os_error)) return nullptr;
  std::unique_ptr<File> file = inner_.CreateWrite(path, os_error);
  std::shared_ptr<Room> room = RoomFor(path);
  if (file == nullptr || room == nullptr) return file;
  return std::make_unique<LimitedFile>(std::move(file), std::move(room));
}

}  // namespace shifrodel::testing
