#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::linux_desktop::testing {

namespace fs = std::filesystem;

// A folder tree in a fresh temporary folder, removed with the object.
class FakeTree {
  public:
    FakeTree() {
        std::string pattern = (fs::temp_directory_path() / "corvane-linux-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
    }
    ~FakeTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    FakeTree(const FakeTree&) = delete;
    FakeTree& operator=(const FakeTree&) = delete;

    const fs::path& root() const { return root_; }
    // `relative` inside the tree; an absolute path (one the tree gave) as it is.
    fs::path path(const fs::path& relative) const { return root_ / relative; }

    // Writes a file, making its folders.
    fs::path write(const fs::path& relative, std::string_view text) const {
        const fs::path file = path(relative);
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    fs::path writeBytes(const fs::path& relative, const std::vector<std::uint8_t>& bytes) const {
        return write(relative, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }
    std::string read(const fs::path& relative) const {
        std::ifstream stream(path(relative), std::ios::binary);
        return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    }
    fs::path folder(const fs::path& relative) const {
        fs::create_directories(path(relative));
        return path(relative);
    }
    // Makes `relative` a symbolic link to `target` (kept as given: absolute or relative).
    void link(const fs::path& relative, const fs::path& target) const {
        fs::create_directories(path(relative).parent_path());
        fs::create_symlink(target, path(relative));
    }

  private:
    fs::path root_;
};

// A valid one-block EDID with the given numbers and an optional monitor name.
inline std::vector<std::uint8_t> makeEdid(std::uint16_t vendorCode, std::uint16_t product,
                                          std::uint32_t serial, const std::string& name = {}) {
    std::vector<std::uint8_t> edid(128, 0);
    for (int i = 1; i < 7; ++i) edid[i] = 0xFF;
    edid[8] = static_cast<std::uint8_t>(vendorCode >> 8);
    edid[9] = static_cast<std::uint8_t>(vendorCode);
    edid[10] = static_cast<std::uint8_t>(product);
    edid[11] = static_cast<std::uint8_t>(product >> 8);
    for (int i = 0; i < 4; ++i) edid[12 + i] = static_cast<std::uint8_t>(serial >> (8 * i));
    if (!name.empty()) {
        edid[54 + 3] = 0xFC;
        std::string text = name.substr(0, 13);
        if (text.size() < 13) text += '\n';
        text.resize(13, ' ');
        std::copy(text.begin(), text.end(), edid.begin() + 54 + 5);
    }
    unsigned sum = 0;
    for (int i = 0; i < 127; ++i) sum += edid[i];
    edid[127] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
    return edid;
}

}  // namespace corvane::linux_desktop::testing
