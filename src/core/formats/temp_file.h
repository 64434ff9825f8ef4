// A uniquely named file in the system's temporary folder for trial encodes, removed when
// the object goes: two dialogs or a dialog and the batch worker never share one.
#pragma once

#include <cstdint>
#include <string>

namespace duplora {

class ScratchFile {
  public:
    // Creates an empty file "<temp>/duplora-<tag>-XXXXXX" with mkstemp.
    explicit ScratchFile(const char* tag);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    bool Valid() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    // Size of the file now; -1 when it cannot be read.
    std::int64_t Size() const;

  private:
    std::string path_;
};

}  // namespace duplora
