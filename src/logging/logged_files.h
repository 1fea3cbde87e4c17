#pragma once

#include "platform/files.h"
#include "logging/logged_service.h"

namespace logging {

class LoggedFileSystem : public platform::FileSystem, private LoggedService {
public:
    LoggedFileSystem(platform::FileSystem& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}

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

private:
    std::string Directory(const char* function, std::string path);
    bool PathCall(const char* function, const std::string& path, bool succeeded);

    platform::FileSystem& m_inner;
};

}  // namespace logging
