#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

// One file in a private temporary folder that each fuzz input is written to, for the parsers
// that read files. The folder goes when the process ends normally.
class ScratchFile {
  public:
    explicit ScratchFile(const char* name) {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-fuzz-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        path_ = folder_ / name;
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    const std::filesystem::path& path() const { return path_; }
    void write(const std::uint8_t* data, std::size_t size) const {
        std::ofstream(path_, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

  private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};
