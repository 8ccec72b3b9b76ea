#pragma once
// A file layer that lets the n-th write step (create, write, flush, close,
// remove, rename) fail, or stops everything there as a killed process would:
// that step and every later one throw, so the disk stays exactly as it was
// at that moment. A write that fails or is killed leaves half its bytes
// behind, as a torn write does. Reads pass through and are not counted.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "store/file_system.h"

namespace norv::testing {

struct SimulatedKill : std::runtime_error {
  SimulatedKill() : std::runtime_error("process killed") {}
};

enum class StepFault { Fail, Kill };

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& real = LocalFileSystem()) : real_(real) {}

  // The next run stops at step `step` (1-based); 0 lets every step through.
  void Arm(StepFault fault, int step) {
    fault_ = fault;
    faultAt_ = step;
    steps_ = 0;
    killed_ = false;
  }
  int Steps() const { return steps_; }
  bool Killed() const { return killed_; }
  bool FaultHit() const { return faultAt_ > 0 && steps_ >= faultAt_; }

  std::unique_ptr<WritableFile> Create(const std::string& path) override {
    if (!Step()) return nullptr;
    std::unique_ptr<WritableFile> file = real_.Create(path);
    if (!file) return nullptr;
    return std::make_unique<File>(*this, std::move(file));
  }
  bool Remove(const std::string& path) override { return Step() && real_.Remove(path); }
  bool Rename(const std::string& from, const std::string& to) override { return Step() && real_.Rename(from, to); }
  std::optional<std::string> ReadWhole(const std::string& path) override {
    ThrowIfKilled();
    return real_.ReadWhole(path);
  }
  std::optional<std::uint64_t> SizeOf(const std::string& path) override {
    ThrowIfKilled();
    return real_.SizeOf(path);
  }

 private:
  class File : public WritableFile {
   public:
    File(FaultyFileSystem& owner, std::unique_ptr<WritableFile> real) : owner_(owner), real_(std::move(real)) {}
    bool Write(std::string_view bytes) override {
      if (!owner_.StepTearing([&] { real_->Write(bytes.substr(0, bytes.size() / 2)); })) return false;
      return real_->Write(bytes);
    }
    bool Flush() override { return owner_.Step() && real_->Flush(); }
    bool Close() override { return owner_.Step() && real_->Close(); }

   private:
    FaultyFileSystem& owner_;
    std::unique_ptr<WritableFile> real_;
  };

  void ThrowIfKilled() const {
    if (killed_) throw SimulatedKill();
  }

  // False when this step fails; throws when the process is killed here.
  template <typename Torn>
  bool StepTearing(const Torn& tear) {
    ThrowIfKilled();
    if (++steps_ != faultAt_) return true;
    tear();
    if (fault_ == StepFault::Fail) return false;
    killed_ = true;
    throw SimulatedKill();
  }
  bool Step() {
    return StepTearing([] {});
  }

  FileSystem& real_;
  StepFault fault_ = StepFault::Fail;
  int faultAt_ = 0;
  int steps_ = 0;
  bool killed_ = false;
};

}  // namespace norv::testing
