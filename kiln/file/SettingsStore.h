#pragma once

#include <map>
#include <string>

namespace KILN {

// The programs' settings: small text files of UTF-8 "name=value" lines (the
// first '=' separates, no quoting), one per machine (where the programs are
// installed, "InstDir") and one per user (the dialog's choices). A missing
// file cannot be opened for querying; a missing name cannot be queried.
// Saving replaces the file atomically.
class SettingsStore {
public:
    enum Scope { Machine, User };

    // The file of a scope: for the machine $ZEF_SYSCONFDIR/zef.conf when that
    // variable is set, else <prefix>/etc/zef/zef.conf when it exists (prefix:
    // the parent of the running program's folder), else /etc/zef/zef.conf; for
    // the user $XDG_CONFIG_HOME/zef/settings.conf, by default under
    // $HOME/.config.
    static std::string fileOf(Scope scope);

    // Reads the scope's file; false when it cannot be opened or read.
    bool openForQuery(Scope scope);
    // Reads the scope's file when there is one, so that values can be set
    // and saved; false when the file exists but cannot be read.
    bool openForSetting(Scope scope);
    // The value of name; false when there is none.
    bool query(const std::string& name, std::string& value) const;
    // Sets a value; a line break in name or value, or '=' in name, is refused.
    bool setString(const std::string& name, const std::string& value);
    // Writes the values back when they were set (creating the file's folder);
    // false when that fails. A store opened for query writes nothing.
    bool close();

private:
    std::string m_file;
    std::map<std::string, std::string> m_values;
    bool m_forSetting = false;
    bool m_changed = false;
};

} // namespace KILN
