#include "support/tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kivo::test {

TempDir::TempDir() {
    std::string base = std::filesystem::temp_directory_path().string() + "/kivo-test-XXXXXX";
    if (!::mkdtemp(base.data())) throw std::runtime_error("mkdtemp failed");
    path_ = base;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
    std::string p = !name.empty() && name[0] == '/' ? name : file(name);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
}

std::string TempDir::Write(const std::string& name,
                           const std::vector<std::uint8_t>& content) const {
    return Write(name, std::string(content.begin(), content.end()));
}

std::vector<std::uint8_t> TempDir::Read(const std::string& name) const {
    std::string s = ReadText(name);
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

std::string TempDir::ReadText(const std::string& name) const {
    std::ifstream in(name.empty() || name[0] != '/' ? file(name) : name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace kivo::test
