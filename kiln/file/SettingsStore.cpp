#include "kiln/file/SettingsStore.h"

#include "kiln/file/Directory.h"
#include "kiln/file/ReplacingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace KILN {

namespace {

// The settings file holds a few short lines; anything larger is not ours.
constexpr long MaxFileSize = 1 << 20;

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The parent of the folder that holds the running program, or empty.
std::string programPrefix()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    std::string program(buffer, static_cast<size_t>(length));
    for (int level = 0; level < 2; ++level) {
        const size_t slash = program.rfind('/');
        if (slash == std::string::npos)
            return {};
        program.erase(slash);
    }
    return program;
}

bool isRegularFile(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Reads name=value lines; false when the file cannot be read in full.
bool readValues(const std::string& file, std::map<std::string, std::string>& values)
{
    if (!isRegularFile(file))
        return false;
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream)
        return false;
    std::string text;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, stream)) > 0 && text.size() <= MaxFileSize)
        text.append(buffer, count);
    const bool failed = std::ferror(stream) != 0 || text.size() > MaxFileSize;
    std::fclose(stream);
    if (failed)
        return false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 1;
    }
    return true;
}

std::string parentOf(const std::string& file)
{
    const size_t slash = file.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string() : file.substr(0, slash);
}

} // namespace

std::string SettingsStore::fileOf(Scope scope)
{
    if (scope == Machine) {
        const std::string named = environment("ZEF_SYSCONFDIR");
        if (!named.empty())
            return named + "/zef.conf";
        const std::string prefix = programPrefix();
        if (!prefix.empty() && isRegularFile(prefix + "/etc/zef/zef.conf"))
            return prefix + "/etc/zef/zef.conf";
        return "/etc/zef/zef.conf";
    }
    std::string base = environment("XDG_CONFIG_HOME");
    if (base.empty() || base[0] != '/')
        base = environment("HOME") + "/.config";
    return base + "/zef/settings.conf";
}

bool SettingsStore::openForQuery(Scope scope)
{
    m_file = fileOf(scope);
    m_values.clear();
    m_forSetting = false;
    m_changed = false;
    return readValues(m_file, m_values);
}

bool SettingsStore::openForSetting(Scope scope)
{
    m_file = fileOf(scope);
    m_values.clear();
    m_forSetting = true;
    m_changed = false;
    struct stat status;
    if (lstat(m_file.c_str(), &status) != 0)
        return errno == ENOENT;
    return readValues(m_file, m_values);
}

bool SettingsStore::query(const std::string& name, std::string& value) const
{
    const auto found = m_values.find(name);
    if (found == m_values.end())
        return false;
    value = found->second;
    return true;
}

bool SettingsStore::setString(const std::string& name, const std::string& value)
{
    if (!m_forSetting || name.empty() || name.find_first_of("=\r\n") != std::string::npos
        || value.find_first_of("\r\n") != std::string::npos)
        return false;
    m_values[name] = value;
    m_changed = true;
    return true;
}

bool SettingsStore::close()
{
    if (!m_forSetting || !m_changed)
        return true;
    m_changed = false;
    const std::string folder = parentOf(m_file);
    int32_t code = 0;
    if (!folder.empty() && !Directory::create(Utf16String(folder.c_str()), code))
        return false;
    std::string text;
    for (const auto& [name, value] : m_values)
        text += name + "=" + value + "\n";
    ReplacingFile file(Utf16String(m_file.c_str()));
    if (!file.open())
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.stream()) == text.size();
    return written && file.commit();
}

} // namespace KILN
