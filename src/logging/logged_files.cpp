#include "logging/logged_files.h"

#include "driver/driver_paths.h"

namespace logging {

namespace {

// The INF patch reads a file byte by byte and writes single bytes: each
// write is a line, and the other calls are counted and shown when the
// file is closed.
class LoggedByteStream : public platform::ByteStream, private LoggedService {
public:
    LoggedByteStream(std::unique_ptr<platform::ByteStream> inner, const std::string& path,
                     RunLog& log)
        : LoggedService(log), m_inner(std::move(inner)), m_path(path) {}

    ~LoggedByteStream() override { Close(); }

    int GetByte() override
    {
        ++m_reads;
        const int byte = m_inner->GetByte();
        if (byte != -1)
            ++m_position;
        return byte;
    }
    long Tell() override
    {
        ++m_tells;
        return m_position = m_inner->Tell();
    }
    bool Seek(long offset) override
    {
        ++m_seeks;
        m_position = offset;
        return m_inner->Seek(offset);
    }
    bool SeekToEnd() override
    {
        ++m_seeks;
        return m_inner->SeekToEnd();
    }
    bool PutByte(char byte) override
    {
        const bool written = m_inner->PutByte(byte);
        if (Recording())
            m_log.Call(ErrorIf(!written), "fputc('%c', \"%s\") at offset %d = %s", byte,
                       m_path.c_str(), static_cast<int>(m_position), written ? "the byte" : "EOF");
        ++m_position;
        return written;
    }
    void Flush() override
    {
        ++m_flushes;
        m_inner->Flush();
    }
    void Close() override
    {
        if (m_closed)
            return;
        m_closed = true;
        m_inner->Close();
        if (Recording())
            m_log.Call(0, "fclose(\"%s\") after %u fgetc, %u ftell, %u fseek, %u fflush",
                       m_path.c_str(), m_reads, m_tells, m_seeks, m_flushes);
    }

private:
    std::unique_ptr<platform::ByteStream> m_inner;
    std::string m_path;
    long m_position = 0;  // where the next byte goes, as far as the calls tell
    unsigned m_reads = 0;
    unsigned m_tells = 0;
    unsigned m_seeks = 0;
    unsigned m_flushes = 0;
    bool m_closed = false;
};

}  // namespace

std::string LoggedFileSystem::Directory(const char* function, std::string path)
{
    if (Recording())
        m_log.Call(ErrorIf(path.empty()), "%s() = \"%s\"", function, path.c_str());
    return path;
}

bool LoggedFileSystem::PathCall(const char* function, const std::string& path, bool succeeded)
{
    if (Recording())
        m_log.Call(ErrorIf(!succeeded), "%s(\"%s\") = %s", function, path.c_str(),
                   BoolText(succeeded));
    return succeeded;
}

std::string LoggedFileSystem::WindowsDirectory()
{
    return Directory("GetWindowsDirectoryA", m_inner.WindowsDirectory());
}

std::string LoggedFileSystem::CurrentDirectory()
{
    return Directory("GetCurrentDirectoryA", m_inner.CurrentDirectory());
}

bool LoggedFileSystem::ChangeDirectory(const std::string& path)
{
    return PathCall("SetCurrentDirectoryA", path, m_inner.ChangeDirectory(path));
}

bool LoggedFileSystem::MakeDirectory(const std::string& path)
{
    return PathCall("CreateDirectoryA", path, m_inner.MakeDirectory(path));
}

bool LoggedFileSystem::Remove(const std::string& path)
{
    return PathCall("DeleteFileA", path, m_inner.Remove(path));
}

// The names a search finds show in the calls on them that follow.
std::unique_ptr<platform::FileSearch> LoggedFileSystem::Find(const std::string& pattern)
{
    std::unique_ptr<platform::FileSearch> search = m_inner.Find(pattern);
    if (Recording())
        m_log.Call(ErrorIf(!search), "FindFirstFileA(\"%s\") = %s", pattern.c_str(),
                   search ? "a search" : "INVALID_HANDLE_VALUE");
    return search;
}

bool LoggedFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists)
{
    const bool copied = m_inner.Copy(from, to, failIfExists);
    if (!Recording())
        return copied;
    m_log.Call(ErrorIf(!copied), "CopyFileA(\"%s\", \"%s\", %s) = %s", from.c_str(), to.c_str(),
               BoolText(failIfExists), BoolText(copied));
    // The run after the restart puts the new mixer over the old one.
    if (m_log.CurrentStep() == Step::MixerReplacement)
        m_log.Outcome().Saw(copied ? Event::MixerCopied : Event::MixerNotCopied);
    return copied;
}

bool LoggedFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes)
{
    const bool set = m_inner.SetAttributes(path, attributes);
    if (Recording())
        m_log.Call(ErrorIf(!set), "SetFileAttributesA(\"%s\", 0x%X) = %s", path.c_str(),
                   attributes, BoolText(set));
    return set;
}

bool LoggedFileSystem::OpensForReading(const std::string& path)
{
    const bool opens = m_inner.OpensForReading(path);
    if (!Recording())
        return opens;
    m_log.Call(ErrorIf(!opens), "fopen(\"%s\", \"rb\") = %s", path.c_str(),
               opens ? "a stream, closed again" : "NULL");
    if (!opens && m_log.CurrentStep() == Step::MixerReplacement)
        m_log.Outcome().Saw(Event::MixerSourceMissing);
    if (!opens && path == kStagedInf)
        m_log.Outcome().Saw(Event::StagedInfMissing);
    return opens;
}

std::unique_ptr<platform::ByteStream> LoggedFileSystem::OpenForUpdate(const std::string& path)
{
    std::unique_ptr<platform::ByteStream> stream = m_inner.OpenForUpdate(path);
    if (!Recording())
        return stream;
    m_log.Call(ErrorIf(!stream), "fopen(\"%s\", \"r+b\") = %s", path.c_str(),
               stream ? "a stream" : "NULL");
    if (!stream)
        return stream;
    return std::make_unique<LoggedByteStream>(std::move(stream), path, m_log);
}

}  // namespace logging
