// A small disk for disk-full tests: a tmpfs of a given size mounted on a
// fresh temporary folder, unmounted when the object goes. Mounting needs
// root (CI runs as root); where it is not allowed, available() is false and
// the test should skip.
#ifndef SHIFRODEL_TESTS_SUPPORT_SMALL_DISK_H_
#define SHIFRODEL_TESTS_SUPPORT_SMALL_DISK_H_

#include <cstdint>
#include <string>

#include "support/temp_dir.h"

namespace shifrodel::testing {

class SmallDisk {
 public:
  explicit SmallDisk(std::uint64_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool available() const { return mounted_; }
  // The mount point (Windows-1251, no trailing separator).
  const std::string& path() const { return dir_.path(); }
  // Fills the disk until fewer than `leave_bytes` are free.
  void Fill(std::uint64_t leave_bytes) const;

 private:
  TempDir dir_;
  bool mounted_ = false;
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_SUPPORT_SMALL_DISK_H_
