#pragma once

#include "platform/files.h"

namespace win32 {

class Win32FileSystem : public platform::FileSystem {
public:
    std::string WindowsDirectory() override;
    std::string CurrentDirectory() override;
    bool ChangeDirectory(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    std::unique_ptr<platform::FileSearch> Find(const std::string& pattern) override;
    bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
    bool Remove(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool OpensForReading(const std::string& path) override;
    std::unique_ptr<platform::ByteStream> OpenForUpdate(const std::string& path) override;
};

}  // namespace win32
